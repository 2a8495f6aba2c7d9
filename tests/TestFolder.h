// A fresh temporary folder of one test, removed afterwards. Its name is made
// unique by mkdtemp, so tests of other processes and other build folders
// never share it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "runtime/Logger.h"

namespace grtest {

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "test";
    std::replace(name.begin(), name.end(), '/', '_');
    std::string pattern =
        (std::filesystem::temp_directory_path() / ("gr-" + name + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp " << pattern << " failed";
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A TempFolder that is the current directory while it lives: what the library
// writes into the current directory (its trace "L0_trace.txt", its log
// "l0_log") belongs to this test alone. The trace is closed on the way in and
// out, so that it opens afresh in here and is complete when the test reads it.
class CurrentFolder : public TempFolder {
 public:
  CurrentFolder() : previous_(std::filesystem::current_path()) {
    Logger::shutdown();
    std::filesystem::current_path(path());
  }
  ~CurrentFolder() {
    Logger::shutdown();
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }

 private:
  std::filesystem::path previous_;
};

}  // namespace grtest

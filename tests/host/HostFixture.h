// A project in a fresh temporary folder, run by the host with the test
// procedure library standing in for the behaviour library. The session makes
// the project folder current, so the library's trace lands in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/base/HostError.h"
#include "host/base/MessageLog.h"
#include "host/base/Model.h"
#include "host/head/HeadEngine.h"
#include "host/head/Session.h"
#include "tests/TestFolder.h"

class HostTest : public ::testing::Test {
 protected:
  void TearDown() override { session_.reset(); }

  static grhost::HostOptions options() {
    grhost::HostOptions options;
    options.runtimeFolder = grhost::programFolder();
    options.mainLibrary = grhost::programFolder() / "libgrtest_procedures.so";
    options.echo = nullptr;
    return options;
  }
  grhost::Session& create() {
    session_ = grhost::Session::createProject(folder_, "Test", options());
    return *session_;
  }
  grhost::Session& reopen() {
    session_.reset();
    session_ = grhost::Session::openProject(folder_, options());
    return *session_;
  }
  grhost::HeadEngine& head() { return session_->head(); }
  // Modal texts shown since MARK.
  std::vector<std::string> shownSince(std::size_t mark) const {
    return session_->log().modalSince(mark);
  }
  std::size_t mark() const { return session_->log().mark(); }
  // Runs HANDLER with its commands; the modal texts it showed.
  std::vector<std::string> run(const std::string& handler) {
    std::size_t before = mark();
    head().runAndExecute(handler);
    return shownSince(before);
  }

  grtest::TempFolder root_;
  std::filesystem::path folder_ = root_.path() / "project";
  std::unique_ptr<grhost::Session> session_;
};

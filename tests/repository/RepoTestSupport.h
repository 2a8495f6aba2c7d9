// Shared helpers of the store's tests.
#ifndef GR_TESTS_REPOSITORY_REPOTESTSUPPORT_H
#define GR_TESTS_REPOSITORY_REPOTESTSUPPORT_H

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/repository.h"

namespace reptest {

inline std::vector<RepId> idsOf(RepIdList* list) {
  std::vector<RepId> ids;
  for (uint32_t i = 0; i < RepIdListCount(list); ++i) ids.push_back(RepIdListItem(list, i));
  RepIdListFree(list);
  return ids;
}

inline std::vector<RepId> partnersOf(RepId object, RepId linkType) {
  std::vector<RepId> ids;
  uint32_t count = GetLinkedObjectNum(object, linkType);
  for (uint32_t i = 0; i < count; ++i) ids.push_back(GetLinkedObjectIdByIndex(object, linkType, i));
  return ids;
}

inline std::vector<RepId> objectsOf(RepId classId) {
  std::vector<RepId> ids;
  uint32_t count = GetObjectNum(classId);
  for (uint32_t i = 0; i < count; ++i) ids.push_back(GetObjectIdByIndex(classId, i));
  return ids;
}

inline std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(std::filesystem::file_size(path), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Every file of a folder with its bytes, to see that an operation changed nothing.
inline std::map<std::string, std::string> folderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    contents[name] = entry.is_regular_file() ? fileBytes(entry.path()) : "(not a regular file)";
  }
  return contents;
}

// Runs BODY in a forked child, so that it may stop as a crash does, drop
// privileges or hit resource limits without touching this process, and
// returns what BODY returned. The child ends with _exit right after BODY:
// an open store is left as a killed process leaves it. A child that dies or
// hangs past SECONDS yields a text saying so.
inline std::string inChild(const std::function<std::string()>& body, unsigned seconds = 60) {
  int fds[2];
  if (pipe(fds) != 0) return "(no pipe)";
  std::fflush(nullptr);
  pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    alarm(seconds);
    std::string result = body();
    for (size_t done = 0; done < result.size();) {
      ssize_t wrote = write(fds[1], result.data() + done, result.size() - done);
      if (wrote <= 0) _exit(2);
      done += static_cast<size_t>(wrote);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
    result.append(buffer, static_cast<size_t>(got));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFSIGNALED(status))
    result += "(the child died of signal " + std::to_string(WTERMSIG(status)) + ")";
  return result;
}

// In a child run by root: becomes "nobody", for whom file permissions hold.
// False when that is not allowed here.
inline bool dropRootPrivileges() {
  if (geteuid() != 0) return true;
  return setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
}

// A store in memory, closed after each test.
class MemoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(RepOpenMemory()) << RepLastError(); }
  void TearDown() override {
    if (RepIsOpen()) RepCloseProject();
  }
};

// A fresh project folder per test, removed afterwards.
class ProjectFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ =
        std::filesystem::temp_directory_path() / ("grrepo_" + std::to_string(::getpid()) + "_" +
                                                  info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(folder_);
  }
  void TearDown() override {
    if (RepIsOpen()) RepCloseProject();
    std::filesystem::remove_all(folder_);
  }
  std::string folder() const { return folder_.string(); }
  std::filesystem::path storeFile() const { return folder_ / RepStoreFileName(); }
  void reopen() {
    ASSERT_TRUE(RepCloseProject());
    ASSERT_TRUE(RepOpenProject(folder().c_str())) << RepLastError();
  }

  std::filesystem::path folder_;
};

}  // namespace reptest

#endif

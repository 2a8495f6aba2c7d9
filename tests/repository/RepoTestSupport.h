// Shared helpers of the store's tests.
#ifndef GR_TESTS_REPOSITORY_REPOTESTSUPPORT_H
#define GR_TESTS_REPOSITORY_REPOTESTSUPPORT_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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

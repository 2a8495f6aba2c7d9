#include <sys/stat.h>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

namespace fs = std::filesystem;

// A project whose committed state is one number; children commit numbers
// and stop without closing, as a killed process does, leaving a log.
class LogOwnershipTest : public ProjectFolderTest {
 protected:
  void SetUp() override {
    ProjectFolderTest::SetUp();
    makeProject(folder());
  }

  static void makeProject(const std::string& where) {
    ASSERT_TRUE(RepCreateProject(where.c_str())) << RepLastError();
    RepId cls = CreateObjectType("Counter");
    AddPropertyType(cls, CreatePropertyType("value", BaseType_INTEGER));
    StartSaveTransaction1(0, 0, "");
    AddProperty(CreateObject(cls), GetPropertyTypeIdByName(cls, "value"), "0");
    ASSERT_TRUE(CommitSaveTransaction());
    ASSERT_TRUE(RepCloseProject());
  }

  static fs::path logOf(const std::string& where) {
    return fs::path(where) / (std::string(RepStoreFileName()) + "-wal");
  }
  fs::path logFile() const { return logOf(folder()); }

  static bool setValue(int value) {
    RepId cls = GetObjectTypeIdByName("Counter");
    StartSaveTransaction1(0, 0, "");
    AddProperty(GetObjectIdByIndex(cls, 0), GetPropertyTypeIdByName(cls, "value"),
                std::to_string(value).c_str());
    return CommitSaveTransaction() != 0;
  }

  // Commits VALUE in a child that then stops without closing; returns the
  // log it leaves.
  static void commitAndCrash(const std::string& where, int value) {
    std::string result = inChild([&] {
      if (!RepOpenProject(where.c_str())) return std::string(RepLastError());
      return std::string(setValue(value) ? "committed" : RepLastError());
    });
    EXPECT_EQ("committed", result);
  }
  static std::string crashAfterCommitting(const std::string& where, int value) {
    commitAndCrash(where, value);
    EXPECT_TRUE(fs::exists(logOf(where)) && fs::file_size(logOf(where)) > 0);
    return fileBytes(logOf(where));
  }

  static int committedValue(const std::string& where) {
    if (!RepOpenProject(where.c_str())) {
      ADD_FAILURE() << RepLastError();
      return -1;
    }
    RepId cls = GetObjectTypeIdByName("Counter");
    int value = std::atoi(
        GetPropertyValue(GetObjectIdByIndex(cls, 0), GetPropertyTypeIdByName(cls, "value")));
    RepCloseProject();
    return value;
  }

  // The log beside the store must be refused with WHY, and nothing in the
  // folder may change.
  void expectLogRefused(const char* why) {
    auto before = folderContents(folder_);
    EXPECT_FALSE(RepOpenProject(folder().c_str()));
    std::string message = RepLastError();
    EXPECT_NE(std::string::npos, message.find("does not belong to this store")) << message;
    EXPECT_NE(std::string::npos, message.find(why)) << message;
    EXPECT_NE(std::string::npos, message.find(logFile().string())) << message;
    EXPECT_EQ(before, folderContents(folder_)) << "the refused open changed the folder";
  }
};

TEST_F(LogOwnershipTest, TheLogOfACrashedHolderIsRecoveredAndACleanCloseLeavesNone) {
  crashAfterCommitting(folder(), 1);
  EXPECT_EQ(1, committedValue(folder()));
  EXPECT_FALSE(fs::exists(logFile())) << "a clean close folds and removes the log";
  crashAfterCommitting(folder(), 2);
  crashAfterCommitting(folder(), 3);  // recovers 2, then commits 3 on a log of its own
  EXPECT_EQ(3, committedValue(folder()));
}

TEST_F(LogOwnershipTest, AnOlderLogOfTheSameStoreIsRefusedWhetherTheStoreWasClosedOrNot) {
  std::string older = crashAfterCommitting(folder(), 1);
  ASSERT_EQ(1, committedValue(folder()));
  ASSERT_TRUE(RepOpenProject(folder().c_str()));
  ASSERT_TRUE(setValue(2));
  ASSERT_TRUE(RepCloseProject());

  writeBytes(logFile(), older);
  expectLogRefused("closed cleanly");
  fs::remove(logFile());
  EXPECT_EQ(2, committedValue(folder()));

  std::string latest = crashAfterCommitting(folder(), 3);
  writeBytes(logFile(), older);
  expectLogRefused("not written by the store's last session");
  writeBytes(logFile(), latest);
  EXPECT_EQ(3, committedValue(folder())) << "the crashed holder's own log still counts";
}

// Two projects made alike have the same ids, so the other's log would fit
// page by page: only its token tells it apart.
TEST_F(LogOwnershipTest, AnotherProjectsLogIsRefused) {
  std::string other = folder() + "_other";
  fs::remove_all(other);
  makeProject(other);
  std::string foreign = crashAfterCommitting(other, 7);
  fs::remove_all(other);

  writeBytes(logFile(), foreign);
  expectLogRefused("closed cleanly");
  fs::remove(logFile());

  crashAfterCommitting(folder(), 1);
  writeBytes(logFile(), foreign);
  expectLogRefused("another project's");
  fs::remove(logFile());
  EXPECT_EQ(0, committedValue(folder())) << "the store as last folded, without the lost commit";
}

// Without the lock file's record even the crashed holder's own log cannot be
// told from a foreign one.
TEST_F(LogOwnershipTest, ALogWithoutARecordOfTheLastSessionIsRefused) {
  crashAfterCommitting(folder(), 1);
  fs::remove(storeFile().string() + ".lock");
  expectLogRefused("no record of the store's last session");
}

TEST_F(LogOwnershipTest, ALogThatIsNoRegularFileOrARollbackJournalIsRefused) {
  ASSERT_EQ(0, mkfifo(logFile().c_str(), 0644));
  std::string message = inChild(
      [&] { return std::string(RepOpenProject(folder().c_str()) ? "opened" : RepLastError()); },
      10);
  EXPECT_NE(std::string::npos, message.find("is not a regular file")) << message;
  fs::remove(logFile());

  fs::path journal = storeFile().string() + "-journal";
  writeBytes(journal, std::string(512, '\x01'));
  auto before = folderContents(folder_);
  EXPECT_FALSE(RepOpenProject(folder().c_str()));
  EXPECT_NE(std::string::npos, std::string(RepLastError()).find("rollback journal"))
      << RepLastError();
  EXPECT_EQ(before, folderContents(folder_));
  fs::remove(journal);
  EXPECT_EQ(0, committedValue(folder()));
}

// SQLite writes the log beside the file a link names, so that is where the
// log is judged.
TEST_F(LogOwnershipTest, TheLogOfAStoreReachedOverASymbolicLinkIsJudgedBesideTheFile) {
  fs::path elsewhere = folder_ / "elsewhere";
  fs::create_directory(elsewhere);
  fs::rename(storeFile(), elsewhere / RepStoreFileName());
  fs::rename(storeFile().string() + ".lock", (elsewhere / RepStoreFileName()).string() + ".lock");
  fs::create_symlink(elsewhere / RepStoreFileName(), storeFile());
  fs::path log = elsewhere / (std::string(RepStoreFileName()) + "-wal");

  commitAndCrash(folder(), 1);
  EXPECT_FALSE(fs::exists(logFile())) << "no log beside the link";
  ASSERT_TRUE(fs::exists(log));
  std::string older = fileBytes(log);
  EXPECT_EQ(1, committedValue(folder()));
  writeBytes(log, older);
  auto before = folderContents(elsewhere);
  EXPECT_FALSE(RepOpenProject(folder().c_str()));
  EXPECT_NE(std::string::npos, std::string(RepLastError()).find("does not belong"))
      << RepLastError();
  EXPECT_EQ(before, folderContents(elsewhere));
}

uint32_t bigEndian(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// What a fold killed halfway leaves: the lower half of the pages that the
// log's committed frames change already copied into the file (their latest
// versions, as a fold copies them, lowest page first), the log whole.
void foldHalfOfTheLog(const fs::path& store, const fs::path& log) {
  std::string frames = fileBytes(log);
  std::string file = fileBytes(store);
  uint32_t pageSize = bigEndian(frames, 8);
  size_t frameSize = 24 + pageSize;
  std::map<uint32_t, size_t> latest;  // page -> offset of its data in the log
  std::map<uint32_t, size_t> pending;
  for (size_t at = 32; at + frameSize <= frames.size(); at += frameSize) {
    pending[bigEndian(frames, at)] = at + 24;
    if (bigEndian(frames, at + 4) == 0) continue;  // not a commit
    for (const auto& [page, data] : pending) latest[page] = data;
    pending.clear();
  }
  size_t half = latest.size() / 2;
  for (const auto& [page, data] : latest) {
    if (half-- == 0) break;
    size_t offset = size_t{page - 1} * pageSize;
    if (file.size() < offset + pageSize) file.resize(offset + pageSize);
    file.replace(offset, pageSize, frames, data, pageSize);
  }
  writeBytes(store, file);
}

// The file alone is then no store (its schema may point to pages the fold
// has not written yet): only the file with its log is.
TEST_F(LogOwnershipTest, AStoreWhoseFoldWasKilledHalfwayOpensWithItsLog) {
  std::string result = inChild([&] {
    if (!RepOpenProject(folder().c_str())) return std::string(RepLastError());
    RepId many = CreateObjectType("Many");
    RepId value = GetPropertyTypeIdByName(0, "value");
    AddPropertyType(many, value);
    StartSaveTransaction1(0, 0, "");
    for (int i = 0; i < 3000; ++i)
      AddProperty(CreateObject(many), value, std::to_string(i).c_str());
    if (!CommitSaveTransaction()) return std::string(RepLastError());
    return std::string(setValue(5) ? "committed" : RepLastError());
  });
  ASSERT_EQ("committed", result);
  foldHalfOfTheLog(storeFile(), logFile());

  ASSERT_TRUE(RepOpenProject(folder().c_str())) << RepLastError();
  EXPECT_EQ(3000u, GetObjectNum(GetObjectTypeIdByName("Many")));
  RepCloseProject();
  EXPECT_EQ(5, committedValue(folder()));
}

// SQLite ignores a log whose header or frames do not check out, so such a
// file changes nothing and need not stop the open.
TEST_F(LogOwnershipTest, ALogWithNothingCommittedInItChangesNothing) {
  std::string log = crashAfterCommitting(folder(), 1);
  ASSERT_EQ(1, committedValue(folder()));
  writeBytes(logFile(), log.substr(0, 32 + 24 + 100));  // its header and a torn frame
  EXPECT_EQ(1, committedValue(folder()));
  writeBytes(logFile(), std::string(70000, 'x'));
  EXPECT_EQ(1, committedValue(folder()));
}

}  // namespace
}  // namespace reptest

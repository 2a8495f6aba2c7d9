#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

class StoreFileGuardTest : public ProjectFolderTest {
 protected:
  // A committed store with enough rows to span many pages.
  void makeStore() {
    ASSERT_TRUE(RepCreateProject(folder().c_str())) << RepLastError();
    RepId cls = CreateObjectType("Item");
    RepId caption = CreatePropertyType("caption", BaseType_STRING);
    AddPropertyType(cls, caption);
    RepId next = CreateLinkType(cls, "next", 2, 1, cls, "previous", 2, 1, 0);
    ASSERT_TRUE(StartSaveTransaction1(0, 0, ""));
    RepId previous = 0;
    for (int i = 0; i < 3000; ++i) {
      RepId item = CreateObject(cls);
      AddProperty(item, caption, std::string(40, static_cast<char>('a' + i % 26)).c_str());
      if (previous) CreateLink(next, previous, item);
      previous = item;
    }
    ASSERT_TRUE(CommitSaveTransaction());
    ASSERT_TRUE(RepCloseProject());
  }

  // Opening must fail with a message and leave the folder as it was: the
  // file unchanged, no log, journal or lock file left beside it.
  void expectRefusedUntouched(const char* expectedWords) {
    auto before = folderContents(folder_);
    EXPECT_FALSE(RepOpenProject(folder().c_str()));
    EXPECT_FALSE(RepIsOpen());
    EXPECT_NE(std::string::npos, std::string(RepLastError()).find(expectedWords)) << RepLastError();
    EXPECT_EQ(before, folderContents(folder_)) << "the folder was modified";
  }

  void changeWithSqlite(const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(storeFile().c_str(), &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, nullptr)) << sql;
    sqlite3_close(db);
  }

  // What opening says in a child that runs without root's privileges.
  std::string openWithoutPrivileges() {
    return inChild([&] {
      if (!dropRootPrivileges()) return std::string("(cannot drop privileges)");
      return std::string(RepOpenProject(folder().c_str()) ? "opened" : RepLastError());
    });
  }
};

TEST_F(StoreFileGuardTest, GarbageAndEmptyFilesAreRefusedUntouched) {
  std::filesystem::create_directories(folder_);
  std::mt19937 random(3);
  std::string garbage(64 * 1024, '\0');
  for (char& byte : garbage) byte = static_cast<char>(random());
  writeBytes(storeFile(), garbage);
  expectRefusedUntouched("not a store");

  writeBytes(storeFile(), "");
  expectRefusedUntouched("not a store");
}

TEST_F(StoreFileGuardTest, TruncatedOrDamagedStoreIsRefusedUntouched) {
  makeStore();
  std::string whole = fileBytes(storeFile());
  ASSERT_GT(whole.size(), 64u * 1024);
  writeBytes(storeFile(), whole.substr(0, whole.size() / 2));
  expectRefusedUntouched("damaged");

  std::string scribbled = whole;
  for (size_t pos = 8 * 4096; pos < scribbled.size(); pos += 4096)
    scribbled.replace(pos, 64, 64, '\x7f');
  writeBytes(storeFile(), scribbled);
  expectRefusedUntouched("damaged");

  writeBytes(storeFile(), whole);
  ASSERT_TRUE(RepOpenProject(folder().c_str())) << RepLastError();
  EXPECT_EQ(3000u, GetObjectNum(GetObjectTypeIdByName("Item")));
}

TEST_F(StoreFileGuardTest, ForeignDatabaseAndNewerFormatAreRefusedUntouched) {
  std::filesystem::create_directories(folder_);
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(storeFile().c_str(), &db));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, "CREATE TABLE notes(x); INSERT INTO notes VALUES (1);",
                                    nullptr, nullptr, nullptr));
  sqlite3_close(db);
  expectRefusedUntouched("not a store of this system");

  std::filesystem::remove(storeFile());
  makeStore();
  changeWithSqlite("UPDATE meta SET value = 99 WHERE key = 'format'");
  expectRefusedUntouched("format version 99");
  changeWithSqlite("UPDATE meta SET value = 1 WHERE key = 'format'");
  expectRefusedUntouched("made by an older version of the store");
}

// SQLite would wait for a writer on a FIFO for ever.
TEST_F(StoreFileGuardTest, AStoreThatIsNoRegularFileIsRefusedAtOnce) {
  std::filesystem::create_directories(folder_);
  ASSERT_EQ(0, mkfifo(storeFile().c_str(), 0644));
  auto before = folderContents(folder_);
  std::string message = inChild(
      [&] { return std::string(RepOpenProject(folder().c_str()) ? "opened" : RepLastError()); },
      10);
  EXPECT_EQ(storeFile().string() + " is not a regular file", message);
  EXPECT_EQ(before, folderContents(folder_));

  std::filesystem::remove(storeFile());
  std::filesystem::create_directory(storeFile());
  expectRefusedUntouched("is not a regular file");
}

TEST_F(StoreFileGuardTest, ReadOnlyFilesAndFoldersAreRefusedForWhatTheyAre) {
  namespace fs = std::filesystem;
  makeStore();
  fs::path lock = storeFile().string() + ".lock";
  fs::permissions(storeFile(),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(lock, fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                           fs::perms::others_exec));
  auto before = folderContents(folder_);
  std::string message = openWithoutPrivileges();
  if (message == "(cannot drop privileges)") GTEST_SKIP() << message;
  EXPECT_EQ("cannot write the store file " + storeFile().string() + ": Permission denied", message);

  fs::permissions(storeFile(),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::add);
  fs::permissions(folder_,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  message = openWithoutPrivileges();
  fs::permissions(folder_, fs::perms::all);
  EXPECT_EQ("cannot write in the project folder " + folder() + ": Permission denied", message);
  EXPECT_EQ(before, folderContents(folder_));

  fs::path log = storeFile().string() + "-wal";
  writeBytes(log, "");
  fs::permissions(log, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  before = folderContents(folder_);
  message = openWithoutPrivileges();
  EXPECT_EQ("cannot write the write-ahead log " + log.string() + ": Permission denied", message);
  EXPECT_EQ(before, folderContents(folder_));
  fs::remove(log);
  ASSERT_TRUE(RepOpenProject(folder().c_str())) << RepLastError();
  EXPECT_EQ(3000u, GetObjectNum(GetObjectTypeIdByName("Item")));
}

TEST_F(StoreFileGuardTest, RowsThatDoNotFitTogetherAreRefused) {
  makeStore();
  const char* const damages[] = {
      "INSERT INTO links VALUES (4, 424242, 3, 1)",                          // no such link type
      "UPDATE links SET partner = 999999 WHERE obj = 10",                    // no such object
      "UPDATE links SET seq = (SELECT max(seq) FROM links) WHERE obj = 20",  // order unclear
      "UPDATE meta SET value = 2 WHERE key = 'link_seq'",  // order keys beyond the counter
      // A link named from the end the store never names it from.
      "CREATE TEMP TABLE one AS SELECT * FROM links WHERE obj = 30;"
      "DELETE FROM links WHERE obj = 30;"
      "INSERT INTO links SELECT partner, (SELECT inverse FROM link_types WHERE id = link_type),"
      "  obj, seq FROM one",
  };
  std::string intact = fileBytes(storeFile());
  for (const char* damage : damages) {
    writeBytes(storeFile(), intact);
    changeWithSqlite(damage);
    expectRefusedUntouched("damaged");
  }
}

TEST_F(StoreFileGuardTest, AStoreOpenInAnotherProcessIsRefused) {
  makeStore();
  int toChild[2], toParent[2];
  ASSERT_EQ(0, pipe(toChild));
  ASSERT_EQ(0, pipe(toParent));
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    char byte = RepOpenProject(folder().c_str()) ? 'y' : 'n';
    if (write(toParent[1], &byte, 1) != 1 || read(toChild[0], &byte, 1) != 1) _exit(2);
    _exit(0);
  }
  char opened = 0;
  ASSERT_EQ(1, read(toParent[0], &opened, 1));
  ASSERT_EQ('y', opened);
  EXPECT_FALSE(RepOpenProject(folder().c_str()));
  EXPECT_STREQ("the store is open in another process", RepLastError());
  char done = 'x';
  ASSERT_EQ(1, write(toChild[1], &done, 1));
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(RepOpenProject(folder().c_str()))
      << "free again once the other process is gone: " << RepLastError();
  for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) close(fd);
}

}  // namespace
}  // namespace reptest

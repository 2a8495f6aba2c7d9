#include <signal.h>
#include <sys/resource.h>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

// Commits that cannot be written: the children below run under a file size
// limit, which fails the log's writes as a full disk does.
class FailedCommitTest : public ProjectFolderTest {
 protected:
  void SetUp() override {
    ProjectFolderTest::SetUp();
    ASSERT_TRUE(RepCreateProject(folder().c_str())) << RepLastError();
    RepId item = CreateObjectType("Item");
    AddPropertyType(item, CreatePropertyType("text", BaseType_STRING));
    CreateLinkType(item, "next", REP_MULT_MANY, 1, item, "previous", REP_MULT_MANY, 1, 0);
    StartSaveTransaction1(0, 0, "");
    for (int i = 0; i < 10; ++i) CreateObject(item);
    ASSERT_TRUE(CommitSaveTransaction());
    ASSERT_TRUE(RepCloseProject());
  }

  struct Schema {
    RepId item = GetObjectTypeIdByName("Item");
    RepId text = GetPropertyTypeIdByName(item, "text");
    RepId next = GetLinkTypeIdByName(item, "next");
    RepId first = GetObjectIdByIndex(item, 0);
  };

  // Files may not grow past BYTES; the signal that would kill is ignored,
  // so writes fail with an error as on a full disk.
  static bool limitFileSize(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    limit.rlim_cur = bytes;
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  static bool liftFileSizeLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    limit.rlim_cur = limit.rlim_max;
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  static constexpr rlim_t kSmallLimit = 64 * 1024;

  // About a megabyte of changes: hundreds of new objects, each with a long
  // value and linked after the first item.
  static void changeMuch(const Schema& schema, const char* tag) {
    for (int i = 0; i < 600; ++i) {
      RepId item = CreateObject(schema.item);
      AddProperty(item, schema.text, (std::string(tag) + std::string(1500, 'x')).c_str());
      CreateLink(schema.next, schema.first, item);
    }
  }

  static std::string failureOf(const char* step) {
    return std::string(step) + " failed: " + RepLastError();
  }

  // The state a parent sees after the child: how many items, and the tags of
  // the first item's partners in link order, run-length counted.
  std::string committedState() {
    if (!RepOpenProject(folder().c_str())) return RepLastError();
    Schema schema;
    std::string state = std::to_string(GetObjectNum(schema.item)) + " items;";
    std::string lastTag;
    int run = 0;
    auto flush = [&] {
      if (run) state += " " + lastTag + "*" + std::to_string(run);
    };
    for (RepId partner : partnersOf(schema.first, schema.next)) {
      std::string tag = std::string(GetPropertyValue(partner, schema.text)).substr(0, 1);
      if (tag != lastTag) flush(), lastTag = tag, run = 0;
      ++run;
    }
    flush();
    RepCloseProject();
    return state;
  }
};

TEST_F(FailedCommitTest, ACommitThatCannotBeWrittenReportsWhatWasNotSavedAndWritesNothing) {
  std::string result = inChild([&] {
    if (!RepOpenProject(folder().c_str())) return failureOf("open");
    Schema schema;
    if (!limitFileSize(kSmallLimit)) return std::string("no limit");
    StartSaveTransaction1(0, 0, "");
    changeMuch(schema, "a");
    if (CommitSaveTransaction()) return std::string("the commit went through the limit");
    std::string message = RepLastError();
    if (RepTransactionDepth() != 0)
      return std::string("depth left at ") + std::to_string(RepTransactionDepth());
    if (GetObjectNum(schema.item) != 610) return std::string("the store in memory lost changes");
    return message;
  });
  EXPECT_NE(std::string::npos, result.find("the commit was not saved: 600 changed objects"))
      << result;
  EXPECT_NE(std::string::npos, result.find("600 changed links")) << result;
  EXPECT_NE(std::string::npos, result.find("last commit that succeeded")) << result;
  EXPECT_NE(std::string::npos, result.find("File too large")) << result;
  EXPECT_EQ("10 items;", committedState());
}

TEST_F(FailedCommitTest, OnceSpaceReturnsTheNextCommitWritesEverythingPendingOrNothing) {
  std::string result = inChild([&] {
    if (!RepOpenProject(folder().c_str())) return failureOf("open");
    Schema schema;
    StartSaveTransaction1(0, 0, "");
    changeMuch(schema, "a");
    if (!CommitSaveTransaction()) return failureOf("the first commit");
    if (!limitFileSize(kSmallLimit)) return std::string("no limit");
    StartSaveTransaction1(0, 0, "");
    changeMuch(schema, "b");
    if (CommitSaveTransaction()) return std::string("the second commit went through the limit");
    StartSaveTransaction1(0, 0, "");
    changeMuch(schema, "c");
    CreateLink(schema.next, schema.first,
               GetObjectIdByIndex(schema.item, 20));  // moves "a" to the end
    if (CommitSaveTransaction()) return std::string("the third commit went through the limit");
    if (!liftFileSizeLimit()) return std::string("no lift");
    StartSaveTransaction1(0, 0, "");
    if (!CommitSaveTransaction()) return failureOf("the commit after the limit");
    return std::string("saved");
  });
  EXPECT_EQ("saved", result);
  EXPECT_EQ("1810 items; a*599 b*600 c*600 a*1", committedState());
}

TEST_F(FailedCommitTest, AFailureInsideNestedTransactionsIsReportedAtTheOutermostCommit) {
  std::string result = inChild([&] {
    if (!RepOpenProject(folder().c_str())) return failureOf("open");
    Schema schema;
    if (!limitFileSize(kSmallLimit)) return std::string("no limit");
    std::string steps;
    for (int i = 0; i < 3; ++i) StartSaveTransaction1(0, 0, "");
    changeMuch(schema, "a");
    steps += SaveRequest(11) ? "saved " : "save failed ";
    for (int i = 0; i < 3; ++i) {
      steps += CommitSaveTransaction() ? "commit " : "failed ";
      steps += std::to_string(RepTransactionDepth()) + " ";
    }
    steps += CommitSaveTransaction() ? "commit " : "refused ";
    steps += std::to_string(RepTransactionDepth()) + " ";
    if (!liftFileSizeLimit()) return std::string("no lift");
    StartSaveTransaction1(0, 0, "");
    steps += CommitSaveTransaction() ? "commit" : "failed";
    return steps;
  });
  EXPECT_EQ("save failed commit 2 commit 1 failed 0 refused 0 commit", result);
  EXPECT_EQ("610 items; a*600", committedState());
}

TEST_F(FailedCommitTest, ClosingAfterAFailedCommitKeepsTheLastCommit) {
  std::string result = inChild([&] {
    if (!RepOpenProject(folder().c_str())) return failureOf("open");
    Schema schema;
    StartSaveTransaction1(0, 0, "");
    RepId kept = GetObjectIdByIndex(schema.item, 3);
    AddProperty(kept, schema.text, "k");
    CreateLink(schema.next, schema.first, kept);
    if (!CommitSaveTransaction()) return failureOf("the first commit");
    if (!limitFileSize(kSmallLimit)) return std::string("no limit");
    StartSaveTransaction1(0, 0, "");
    changeMuch(schema, "a");
    if (CommitSaveTransaction()) return std::string("the commit went through the limit");
    return std::string(RepCloseProject() ? "closed" : RepLastError());
  });
  EXPECT_EQ("closed", result);
  EXPECT_EQ("10 items; k*1", committedState());
}

}  // namespace
}  // namespace reptest

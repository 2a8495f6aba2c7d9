#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <random>

#include "tests/repository/RepoTestSupport.h"

namespace reptest {
namespace {

// Commit i creates item i, links it at the end of the root's items, sets the
// root's counter and the item's number to i, and when i is a multiple of 10
// deletes item i - 5. So every committed state is fully described by i.
std::vector<int> expectedItemNumbers(int lastCommit) {
  std::vector<int> numbers;
  for (int i = 1; i <= lastCommit; ++i) {
    bool deleted = i % 10 == 5 && i + 5 <= lastCommit;
    if (!deleted) numbers.push_back(i);
  }
  return numbers;
}

struct Schema {
  RepId item = GetObjectTypeIdByName("Item");
  RepId root = GetObjectIdByIndex(GetObjectTypeIdByName("Root"), 0);
  RepId items = GetLinkTypeIdByName(GetObjectTypeIdByName("Root"), "items");
  RepId counter = GetPropertyTypeIdByName(0, "counter");
};

int committedCounter(const Schema& schema) {
  return std::atoi(GetPropertyValue(schema.root, schema.counter));
}

// Runs commits until killed; reports each finished commit with a byte.
[[noreturn]] void commitForever(const std::string& folder, int reportFd) {
  if (!RepOpenProject(folder.c_str())) _exit(3);
  Schema schema;
  std::map<int, RepId> itemByNumber;
  for (RepId item : partnersOf(schema.root, schema.items)) {
    itemByNumber[std::atoi(GetPropertyValue(item, schema.counter))] = item;
  }
  for (int i = committedCounter(schema) + 1;; ++i) {
    StartSaveTransaction1(0, 0, "");
    RepId item = CreateObject(schema.item);
    itemByNumber[i] = item;
    CreateLink(schema.items, schema.root, item);
    AddProperty(item, schema.counter, std::to_string(i).c_str());
    AddProperty(schema.root, schema.counter, std::to_string(i).c_str());
    if (i % 10 == 0) DeleteObjectHard(itemByNumber[i - 5]);
    if (!CommitSaveTransaction()) _exit(4);
    if (i % 37 == 0 && !SaveRequest(11)) _exit(5);
    char byte = 'c';
    if (write(reportFd, &byte, 1) != 1) _exit(6);
  }
}

class CrashSafetyTest : public ProjectFolderTest {
 protected:
  void SetUp() override {
    ProjectFolderTest::SetUp();
    ASSERT_TRUE(RepCreateProject(folder().c_str()));
    RepId root = CreateObjectType("Root");
    RepId item = CreateObjectType("Item");
    RepId counter = CreatePropertyType("counter", BaseType_INTEGER);
    AddPropertyType(root, counter);
    AddPropertyType(item, counter);
    CreateLinkType(root, "items", REP_MULT_MANY, 1, item, "root", REP_MULT_ONE, 0, 0);
    StartSaveTransaction1(0, 0, "");
    AddProperty(CreateObject(root), counter, "0");
    ASSERT_TRUE(CommitSaveTransaction());
    ASSERT_TRUE(RepCloseProject());
  }

  // Starts the committing child, lets it finish at least MINCOMMITS commits,
  // kills it after DELAYMICROS more and returns how many it reported.
  int runAndKill(int minCommits, int delayMicros) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    pid_t child = fork();
    if (child == 0) {
      close(fds[0]);
      commitForever(folder(), fds[1]);
    }
    close(fds[1]);
    int reported = 0;
    char byte;
    while (reported < minCommits && read(fds[0], &byte, 1) == 1) ++reported;
    usleep(static_cast<useconds_t>(delayMicros));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    while (read(fds[0], &byte, 1) == 1) ++reported;
    close(fds[0]);
    return reported;
  }

  void expectExactlyACommittedState(int atLeast) {
    ASSERT_TRUE(RepOpenProject(folder().c_str())) << RepLastError();
    Schema schema;
    int last = committedCounter(schema);
    EXPECT_GE(last, atLeast) << "a reported commit was lost";
    std::vector<int> numbers;
    for (RepId item : partnersOf(schema.root, schema.items)) {
      numbers.push_back(std::atoi(GetPropertyValue(item, schema.counter)));
      EXPECT_EQ((std::vector<RepId>{schema.root}),
                partnersOf(item, GetInverseLinkTypeId(schema.items)));
    }
    EXPECT_EQ(expectedItemNumbers(last), numbers);
    EXPECT_EQ(numbers.size(), GetObjectNum(schema.item));
    ASSERT_TRUE(RepCloseProject());
  }
};

TEST_F(CrashSafetyTest, KilledAtAnyMomentTheStoreHoldsExactlyTheLastCommit) {
  std::mt19937 random(11);
  int committed = 0;
  for (int round = 0; round < 25; ++round) {
    int reported =
        runAndKill(5 + static_cast<int>(random() % 60), static_cast<int>(random() % 2000));
    ASSERT_GE(reported, 0);
    committed += reported;
    expectExactlyACommittedState(committed);
    ASSERT_FALSE(HasFatalFailure());
    // The reopened state is the base of the next round.
    ASSERT_TRUE(RepOpenProject(folder().c_str()));
    committed = committedCounter(Schema());
    ASSERT_TRUE(RepCloseProject());
  }
  EXPECT_GT(committed, 40);
}

}  // namespace
}  // namespace reptest

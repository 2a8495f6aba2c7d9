// The shared stores, each back end against the same expectations: a lock is
// held by one token at a time until it is committed, released or its lease
// runs out; a commit needs the lock it was fetched under; areas are added
// all or none. The PostgreSQL cases run where GR_TEST_POSTGRES names a
// database (ctest runs them in a throw-away cluster).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

#include "host/multiuser/SharedStore.h"
#include "host/multiuser/SqliteSharedStore.h"
#include "tests/TestFolder.h"

namespace {

using namespace grhost::shared;
using namespace std::chrono_literals;

// Long enough that no test waits for it by chance.
constexpr Lease kLong = 60s;
// Short, and waited for many times over.
constexpr Lease kShort = 100ms;

class SharedStoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "postgres") {
      location_ = std::getenv("GR_TEST_POSTGRES");
    } else {
      location_ = folder_.path().string();
    }
    store_ = openSharedStore(location_, true);
    // Each test works on areas of its own: a database outlives a test.
    prefix_ = randomHex128() + "-";
    ASSERT_TRUE(store_->createAreas({{id("a"), "text a"}, {id("b"), "text b"}}, "alice"));
  }
  std::string id(const std::string& name) const { return prefix_ + name; }

  grtest::TempFolder folder_;
  std::string location_;
  std::string prefix_;
  std::unique_ptr<SharedStore> store_;
};

TEST_P(SharedStoreTest, ALockIsHeldByOneMemberUntilCommittedOrReleased) {
  LockOutcome alice = store_->lockArea(id("a"), "alice", "", kLong);
  ASSERT_TRUE(alice.taken);
  EXPECT_EQ(alice.area.text, "text a");
  EXPECT_EQ(alice.area.revision, 1);
  LockOutcome bob = store_->lockArea(id("a"), "bob", "", kLong);
  EXPECT_FALSE(bob.taken);
  EXPECT_EQ(bob.holder, "alice");
  // Another area is free; the holder may take her own lock again.
  EXPECT_TRUE(store_->lockArea(id("b"), "bob", "", kLong).taken);
  LockOutcome again = store_->lockArea(id("a"), "alice", alice.token, kLong);
  ASSERT_TRUE(again.taken);
  EXPECT_NE(again.token, alice.token);

  CommitResult stale = store_->commitArea(id("a"), alice.token, "stale", "alice");
  EXPECT_EQ(stale.outcome, CommitOutcome::LockLost);
  EXPECT_EQ(stale.holder, "alice");
  CommitResult committed = store_->commitArea(id("a"), again.token, "text a2", "alice");
  EXPECT_EQ(committed.outcome, CommitOutcome::Committed);
  EXPECT_EQ(committed.revision, 2);
  EXPECT_EQ(store_->readArea(id("a"))->text, "text a2");
  EXPECT_EQ(store_->commitArea(id("a"), again.token, "twice", "alice").outcome,
            CommitOutcome::LockLost);

  LockOutcome bobNow = store_->lockArea(id("a"), "bob", "", kLong);
  ASSERT_TRUE(bobNow.taken);
  EXPECT_EQ(bobNow.area.revision, 2);
  store_->releaseLock(id("a"), "not bob's token");
  EXPECT_FALSE(store_->lockArea(id("a"), "carol", "", kLong).taken);
  store_->releaseLock(id("a"), bobNow.token);
  EXPECT_TRUE(store_->lockArea(id("a"), "carol", "", kLong).taken);
}

TEST_P(SharedStoreTest, ALeaseThatRunsOutFreesTheLockAndLosesItOnceTaken) {
  LockOutcome alice = store_->lockArea(id("a"), "alice", "", kShort);
  ASSERT_TRUE(alice.taken);
  std::this_thread::sleep_for(10 * kShort);
  // Run out but not taken: alice may still commit what she fetched.
  EXPECT_TRUE(store_->renewLock(alice.token, kLong));
  EXPECT_FALSE(store_->lockArea(id("a"), "bob", "", kLong).taken);
  EXPECT_TRUE(store_->renewLock(alice.token, kShort));
  std::this_thread::sleep_for(10 * kShort);
  LockOutcome bob = store_->lockArea(id("a"), "bob", "", kLong);
  ASSERT_TRUE(bob.taken);
  EXPECT_FALSE(store_->renewLock(alice.token, kLong));
  CommitResult lost = store_->commitArea(id("a"), alice.token, "alice's", "alice");
  EXPECT_EQ(lost.outcome, CommitOutcome::LockLost);
  EXPECT_EQ(lost.holder, "bob");
  EXPECT_EQ(store_->readArea(id("a"))->text, "text a");
}

TEST_P(SharedStoreTest, AreasAreAddedAllOrNone) {
  EXPECT_FALSE(store_->createAreas({{id("c"), "text c"}, {id("a"), "again"}}, "bob"));
  EXPECT_FALSE(store_->readArea(id("c")));
  EXPECT_EQ(store_->readArea(id("a"))->text, "text a");
  LockOutcome none = store_->lockArea(id("nowhere"), "bob", "", kLong);
  EXPECT_FALSE(none.taken);
  EXPECT_FALSE(none.areaExists);
  EXPECT_EQ(store_->commitArea(id("nowhere"), "t", "x", "bob").outcome, CommitOutcome::NoArea);
}

TEST_P(SharedStoreTest, AnotherConnectionSeesTheSameLocks) {
  LockOutcome alice = store_->lockArea(id("a"), "alice", "", kLong);
  std::unique_ptr<SharedStore> other = store_->reconnect();
  EXPECT_EQ(other->lockArea(id("a"), "bob", "", kLong).holder, "alice");
  EXPECT_TRUE(other->renewLock(alice.token, kLong));
  EXPECT_EQ(other->location(), store_->location());
}

// The PostgreSQL cases exist only where a database is named, so that a run
// without one lists none (ctest's shared.store_postgres names one).
std::vector<std::string> backends() {
  const char* address = std::getenv("GR_TEST_POSTGRES");
  if (address && *address) return {"sqlite", "postgres"};
  return {"sqlite"};
}

INSTANTIATE_TEST_SUITE_P(Backends, SharedStoreTest, ::testing::ValuesIn(backends()));

TEST(SharedFolderTest, OnlyAnEmptyFolderOrAStoreIsAccepted) {
  grtest::TempFolder folder;
  auto path = folder.path();
  EXPECT_THROW(openSqliteStore(path / "missing", true), SharedStoreError);
  EXPECT_THROW(openSqliteStore(path, false), SharedStoreError);
  std::ofstream(path / "notes.txt") << "not a store\n";
  EXPECT_THROW(openSqliteStore(path, true), SharedStoreError);
  std::filesystem::remove(path / "notes.txt");
  std::ofstream(path / kSharedDatabaseName) << "not a database\n";
  EXPECT_THROW(openSqliteStore(path, true), SharedStoreError);
  std::filesystem::remove(path / kSharedDatabaseName);
  EXPECT_NO_THROW(openSqliteStore(path, true));
  EXPECT_NO_THROW(openSqliteStore(path, false));
}

}  // namespace

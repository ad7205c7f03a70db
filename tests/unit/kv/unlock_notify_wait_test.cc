#include "kv/unlock_notify_wait.h"

#include <gtest/gtest.h>

#include <thread>

#include "kv_test_support.h"

namespace data_storage::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Outcome = UnlockNotifyWait::Outcome;
using Mode = UnlockNotifyWait::Mode;

constexpr int kShared = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_SHAREDCACHE;

// A table with an uncommitted write on one connection of a shared cache, and
// a reader on another connection that meets its lock.
class LockedTable : public ::testing::Test {
 protected:
  void SetUp() override {
    holder_ = std::make_unique<RawDb>(dir_.path("locks.db"), kShared);
    ASSERT_EQ(holder_->exec("CREATE TABLE t (x); BEGIN; INSERT INTO t VALUES (1);"), SQLITE_OK);
    reader_ = std::make_unique<RawDb>(dir_.path("locks.db"), kShared);
    ASSERT_EQ(sqlite3_prepare_v2(reader_->handle(), "SELECT count(*) FROM t", -1, &statement_, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement_) & 0xFF, SQLITE_LOCKED);
  }
  void TearDown() override { sqlite3_finalize(statement_); }

  // Steps until a row comes or the waiter gives up.
  Outcome stepWith(UnlockNotifyWait& waiter) {
    for (;;) {
      Outcome outcome = waiter.wait();
      if (outcome != Outcome::kUnlocked) return outcome;
      if (sqlite3_step(statement_) == SQLITE_ROW) return outcome;
    }
  }

  void commitLater() {
    committer_ = std::thread([this] {
      std::this_thread::sleep_for(150ms);
      holder_->exec("COMMIT");
    });
  }

  TempDirectory dir_;
  std::unique_ptr<RawDb> holder_;
  std::unique_ptr<RawDb> reader_;
  sqlite3_stmt* statement_ = nullptr;
  std::thread committer_;
};

TEST_F(LockedTable, NotificationEndsTheWait) {
  UnlockNotifyWait waiter(reader_->handle(), Mode::kNotification, 5000ms);
  commitLater();
  auto start = Clock::now();
  EXPECT_EQ(stepWith(waiter), Outcome::kUnlocked);
  EXPECT_LT(Clock::now() - start, 3000ms);
  committer_.join();
}

TEST_F(LockedTable, NotificationWaitTimesOut) {
  UnlockNotifyWait waiter(reader_->handle(), Mode::kNotification, 200ms);
  auto start = Clock::now();
  EXPECT_EQ(waiter.wait(), Outcome::kTimedOut);
  EXPECT_GE(Clock::now() - start, 200ms);
  // The cancelled registration leaves nothing behind: a later commit is safe.
  EXPECT_EQ(holder_->exec("COMMIT"), SQLITE_OK);
}

TEST_F(LockedTable, PollingEndsWhenTheLockGoes) {
  UnlockNotifyWait waiter(reader_->handle(), Mode::kPolling, 5000ms);
  commitLater();
  EXPECT_EQ(stepWith(waiter), Outcome::kUnlocked);
  committer_.join();
}

TEST_F(LockedTable, PollingSharesOneLimit) {
  UnlockNotifyWait waiter(reader_->handle(), Mode::kPolling, 200ms);
  auto start = Clock::now();
  EXPECT_EQ(stepWith(waiter), Outcome::kTimedOut);
  EXPECT_GE(Clock::now() - start, 200ms);
  EXPECT_LT(Clock::now() - start, 2000ms);
}

}  // namespace
}  // namespace data_storage::test

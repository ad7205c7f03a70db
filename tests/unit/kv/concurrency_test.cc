#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "kv/key_value_storage_manager.h"
#include "kv/unlock_notify_wait.h"
#include "kv_test_support.h"

namespace data_storage::test {
namespace {

using velk::Ref;
using Clock = std::chrono::steady_clock;
namespace errors = velk::errors;

class ConcurrencyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracer_ = velk::make<RecordingTracer>();
    locator_ = velk::make<TestLocator>(tracer_);
    manager_ = velk::make<KeyValueStorageManager>(locator_.get());
    path_ = dir_.path("shared.kvdb");
  }

  Ref<IIndexedKeyValueStorage> open() {
    Ref<IIndexedKeyValueStorage> store;
    EXPECT_EQ(manager_->CreateStorage(path_, store.put()), errors::kOk);
    return store;
  }

  std::string count() {
    RawDb db(path_, SQLITE_OPEN_READONLY);
    return db.column("SELECT count(*) FROM storage").at(0);
  }

  static double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  TempDirectory dir_;
  Ref<RecordingTracer> tracer_;
  Ref<TestLocator> locator_;
  Ref<KeyValueStorageManager> manager_;
  std::string path_;
};

TEST_F(ConcurrencyTest, UnlockNotificationsAreCompiledIn) {
  // Without them the store polls; the tests below pass either way.
  EXPECT_TRUE(UnlockNotifyWait::notificationsAvailable());
}

TEST_F(ConcurrencyTest, TwoThreadsOnTwoConnectionsLoseNothing) {
  auto first = open();
  auto second = open();
  constexpr int kPerThread = 300;
  auto writer = [](IIndexedKeyValueStorage* store, const std::string& prefix, std::atomic<int>& failures) {
    for (int i = 0; i < kPerThread; ++i) {
      std::string key = prefix + std::to_string(i);
      int64_t id;
      if (store->Insert(key, "value of " + prefix, id) != errors::kOk) ++failures;
      if (store->UpdateByKey(key, "updated " + prefix) != errors::kOk) ++failures;
      // Every third record goes again, and comes back.
      if (i % 3 == 0 && store->RemoveByKey(key) != errors::kOk) ++failures;
      if (i % 3 == 0 && store->Insert(key, "updated " + prefix, id) != errors::kOk) ++failures;
    }
  };
  std::atomic<int> failures{0};
  std::thread a(writer, first.get(), "a", std::ref(failures));
  std::thread b(writer, second.get(), "b", std::ref(failures));
  a.join();
  b.join();
  EXPECT_EQ(failures, 0);
  EXPECT_FALSE(tracer_->hasPart(velk::trace_level::kError, ""));
  EXPECT_EQ(count(), std::to_string(2 * kPerThread));
  for (int i = 0; i < kPerThread; ++i) {
    Bytes value;
    int64_t id;
    ASSERT_EQ(first->FindByKey("b" + std::to_string(i), value, id), errors::kOk);
    EXPECT_EQ(value, bytes("updated b"));
    ASSERT_EQ(second->FindByKey("a" + std::to_string(i), value, id), errors::kOk);
    EXPECT_EQ(value, bytes("updated a"));
  }
}

TEST_F(ConcurrencyTest, TwoTransactionsInDeadlockFailAtOnce) {
  auto first = open();
  auto second = open();
  Ref<ITransaction> firstTransaction = velk::queryInterface<ITransaction>(first.get());
  Ref<ITransaction> secondTransaction = velk::queryInterface<ITransaction>(second.get());
  Bytes value;
  int64_t id;
  ASSERT_EQ(firstTransaction->BeginTransaction(), errors::kOk);
  ASSERT_EQ(first->FindByKey("x", value, id), errors::kNotFound);
  ASSERT_EQ(secondTransaction->BeginTransaction(), errors::kOk);
  ASSERT_EQ(second->FindByKey("x", value, id), errors::kNotFound);
  // Each now holds a read lock that the other's write has to wait for.
  std::atomic<velk::result_t> firstResult{1};
  std::thread writer([&] {
    int64_t firstId;
    firstResult = first->Insert("first", "1", firstId);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  auto start = Clock::now();
  EXPECT_EQ(second->Insert("second", "2", id), errors::kUnspecified);
  EXPECT_LT(secondsSince(start), 5);
  EXPECT_TRUE(tracer_->hasPart(velk::trace_level::kError, "database is deadlocked"));
  ASSERT_EQ(secondTransaction->RollbackTransaction(), errors::kOk);
  writer.join();
  EXPECT_EQ(firstResult, errors::kOk);
  ASSERT_EQ(firstTransaction->CommitTransaction(), errors::kOk);
  EXPECT_EQ(count(), "1");
}

TEST_F(ConcurrencyTest, TheSameKeyFromSeveralConnectionsIsStoredOnce) {
  constexpr int kWriters = 4;
  constexpr int kKeys = 500;
  std::vector<Ref<IIndexedKeyValueStorage>> stores;
  for (int i = 0; i < kWriters; ++i) stores.push_back(open());
  std::atomic<int> inserted{0}, existing{0}, failures{0};
  auto writer = [&](IIndexedKeyValueStorage* store) {
    for (int i = 0; i < kKeys; ++i) {
      int64_t id;
      velk::result_t r = store->Insert("key" + std::to_string(i), "v", id);
      (r == errors::kOk ? inserted : r == errors::kAlreadyExists ? existing : failures)++;
    }
  };
  std::vector<std::thread> threads;
  for (auto& store : stores) threads.emplace_back(writer, store.get());
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(inserted, kKeys);
  EXPECT_EQ(existing, (kWriters - 1) * kKeys);
  EXPECT_EQ(count(), std::to_string(kKeys));
}

TEST_F(ConcurrencyTest, AWriterWaitsForTheOtherConnectionsCommit) {
  auto holder = open();
  auto waiter = open();
  Ref<ITransaction> transaction = velk::queryInterface<ITransaction>(holder.get());
  ASSERT_EQ(transaction->BeginTransaction(), errors::kOk);
  int64_t id;
  ASSERT_EQ(holder->Insert("held", "1", id), errors::kOk);
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    transaction->CommitTransaction();
  });
  auto start = Clock::now();
  EXPECT_EQ(waiter->Insert("waited", "2", id), errors::kOk);
  EXPECT_GE(secondsSince(start), 0.3);
  releaser.join();
  EXPECT_EQ(count(), "2");
}

TEST_F(ConcurrencyTest, ALockHeldTooLongInTheProcessFailsAfterTenSeconds) {
  auto holder = open();
  auto waiter = open();
  Ref<ITransaction> transaction = velk::queryInterface<ITransaction>(holder.get());
  ASSERT_EQ(transaction->BeginTransaction(), errors::kOk);
  int64_t id;
  ASSERT_EQ(holder->Insert("held", "1", id), errors::kOk);
  auto start = Clock::now();
  EXPECT_EQ(waiter->Insert("late", "2", id), errors::kUnexpected);
  double waited = secondsSince(start);
  EXPECT_GE(waited, 9.5);
  EXPECT_LT(waited, 15);
  EXPECT_TRUE(tracer_->hasPart(velk::trace_level::kError,
                               "kv_st\tInvalidResultException - SQLite step timeout: 0x80000040 (Unexpected)"));
  ASSERT_EQ(transaction->CommitTransaction(), errors::kOk);
  Bytes value;
  EXPECT_EQ(waiter->FindByKey("late", value, id), errors::kNotFound);
  EXPECT_EQ(waiter->Insert("late", "2", id), errors::kOk);
  EXPECT_EQ(count(), "2");
}

// Another process holds the write lock for `holdMs` milliseconds.
class LockingProcess {
 public:
  LockingProcess(const std::string& path, int holdMs) {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(fds[0]);
      sqlite3* db = nullptr;
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
      int r = sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO storage (keyhash, keylob, valuelob) "
                               "VALUES (1, x'01', x'01')", nullptr, nullptr, nullptr);
      char ready = r == SQLITE_OK ? 'y' : 'n';
      if (::write(fds[1], &ready, 1) != 1) ::_exit(2);
      ::usleep(holdMs * 1000);
      sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
      sqlite3_close(db);
      ::_exit(0);
    }
    ::close(fds[1]);
    char ready = 0;
    locked_ = ::read(fds[0], &ready, 1) == 1 && ready == 'y';
    ::close(fds[0]);
  }
  ~LockingProcess() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  bool locked() const { return locked_; }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

TEST_F(ConcurrencyTest, AnotherProcessesLockIsWaitedFor) {
  auto store = open();
  LockingProcess other(path_, 500);
  ASSERT_TRUE(other.locked());
  int64_t id;
  auto start = Clock::now();
  EXPECT_EQ(store->Insert("after the other", "v", id), errors::kOk);
  EXPECT_GE(secondsSince(start), 0.3);
  EXPECT_EQ(count(), "2");
}

TEST_F(ConcurrencyTest, AnotherProcessesLockHeldTooLongFailsCleanly) {
  auto store = open();
  {
    LockingProcess other(path_, 11500);
    ASSERT_TRUE(other.locked());
    int64_t id;
    auto start = Clock::now();
    EXPECT_EQ(store->Insert("refused", "v", id), errors::kUnspecified);
    EXPECT_GE(secondsSince(start), 9.5);
    EXPECT_TRUE(tracer_->hasPart(velk::trace_level::kError, "database is locked"));
  }
  EXPECT_EQ(count(), "1");  // the other process's record only
  Bytes value;
  int64_t id;
  EXPECT_EQ(store->FindByKey("refused", value, id), errors::kNotFound);
  EXPECT_EQ(store->Insert("refused", "v", id), errors::kOk);
}

}  // namespace
}  // namespace data_storage::test

// Waits for a table lock that another connection of the shared cache holds.
#pragma once

#include <sqlite3.h>

#include <chrono>

namespace data_storage {

class UnlockNotifyWait {
 public:
  enum class Outcome { kUnlocked, kTimedOut, kDeadlock };

  enum class Mode { kNotification, kPolling };

  static constexpr std::chrono::milliseconds kLimit{10000};

  // One waiter serves every wait of one stepping of a statement.
  explicit UnlockNotifyWait(sqlite3* db, std::chrono::milliseconds limit = kLimit)
      : UnlockNotifyWait(db, notificationsAvailable() ? Mode::kNotification : Mode::kPolling, limit) {}
  UnlockNotifyWait(sqlite3* db, Mode mode, std::chrono::milliseconds limit)
      : db_(db), mode_(mode), limit_(limit) {}

  // kUnlocked: step again. Each wait for a notification may last up to the
  // limit; without notifications in the library the waits of one stepping
  // share that limit.
  Outcome wait();

  // False when the library was built without unlock notifications.
  static bool notificationsAvailable();

 private:
  Outcome waitForNotification();
  Outcome poll();

  sqlite3* db_;
  Mode mode_;
  std::chrono::milliseconds limit_;
  std::chrono::steady_clock::time_point pollStart_{};
  std::chrono::milliseconds pollPause_{1};
};

}  // namespace data_storage

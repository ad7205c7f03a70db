#include "kv/unlock_notify_wait.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

// Builds of the library without SQLITE_ENABLE_UNLOCK_NOTIFY lack the
// function; a weak reference lets the store fall back to polling there.
#pragma weak sqlite3_unlock_notify

namespace data_storage {
namespace {

struct UnlockSignal {
  std::mutex mutex;
  std::condition_variable signalled;
  bool fired = false;
};

// Runs on the thread that releases the lock, inside the library's own mutex.
void onUnlock(void** args, int count) {
  for (int i = 0; i < count; ++i) {
    auto* signal = static_cast<UnlockSignal*>(args[i]);
    std::lock_guard<std::mutex> lock(signal->mutex);
    signal->fired = true;
    signal->signalled.notify_all();
  }
}

}  // namespace

bool UnlockNotifyWait::notificationsAvailable() { return &sqlite3_unlock_notify != nullptr; }

UnlockNotifyWait::Outcome UnlockNotifyWait::wait() {
  return mode_ == Mode::kNotification && notificationsAvailable() ? waitForNotification() : poll();
}

UnlockNotifyWait::Outcome UnlockNotifyWait::waitForNotification() {
  UnlockSignal signal;
  // The library refuses the registration when waiting would deadlock; the
  // callback would then never come, so fail at once instead of waiting.
  if (sqlite3_unlock_notify(db_, onUnlock, &signal) != SQLITE_OK) return Outcome::kDeadlock;
  std::unique_lock<std::mutex> lock(signal.mutex);
  if (signal.signalled.wait_for(lock, limit_, [&] { return signal.fired; })) return Outcome::kUnlocked;
  lock.unlock();
  // Once cancelled the callback can no longer reach `signal`; a notification
  // that came in between still counts.
  sqlite3_unlock_notify(db_, nullptr, nullptr);
  lock.lock();
  return signal.fired ? Outcome::kUnlocked : Outcome::kTimedOut;
}

UnlockNotifyWait::Outcome UnlockNotifyWait::poll() {
  auto now = std::chrono::steady_clock::now();
  if (pollStart_ == std::chrono::steady_clock::time_point{}) pollStart_ = now;
  if (now - pollStart_ >= limit_) return Outcome::kTimedOut;
  std::this_thread::sleep_for(pollPause_);
  pollPause_ = std::min(pollPause_ * 2, std::chrono::milliseconds(50));
  return Outcome::kUnlocked;
}

}  // namespace data_storage

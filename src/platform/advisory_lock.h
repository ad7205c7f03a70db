// Exclusive advisory locks (flock) held by one run on the places it writes,
// so that a second run on the same outputs waits until the first is done.
#pragma once

#include <chrono>
#include <string>
#include <system_error>
#include <vector>

namespace velk {

class AdvisoryLock {
 public:
  AdvisoryLock() = default;
  ~AdvisoryLock() { release(); }
  AdvisoryLock(const AdvisoryLock&) = delete;
  AdvisoryLock& operator=(const AdvisoryLock&) = delete;

  // Locks every existing file or directory of `paths`, waiting at most
  // `patience` in all. They are taken in the order of their device and
  // inode, so two runs locking overlapping sets never wait on each other in
  // a circle. On failure nothing stays locked and `blocked` names the path
  // that could not be opened or stayed locked (std::errc::timed_out).
  std::error_code acquire(const std::vector<std::string>& paths, std::chrono::milliseconds patience,
                          std::string& blocked);

  void release();

 private:
  std::vector<int> held_;
};

}  // namespace velk

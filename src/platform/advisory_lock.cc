#include "platform/advisory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <tuple>

namespace velk {
namespace {

using Clock = std::chrono::steady_clock;

std::error_code lastError() { return {errno, std::generic_category()}; }

struct LockTarget {
  std::string path;
  dev_t device;
  ino_t inode;
};

// Waits with flock's non-blocking form: a blocking flock could not be given
// up after a time without signals, which a library must not take over.
std::error_code lockWithin(int fd, Clock::time_point deadline) {
  auto pause = std::chrono::milliseconds(5);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return lastError();
    if (Clock::now() >= deadline) return std::make_error_code(std::errc::timed_out);
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(100));
  }
  return {};
}

}  // namespace

std::error_code AdvisoryLock::acquire(const std::vector<std::string>& paths, std::chrono::milliseconds patience,
                                      std::string& blocked) {
  release();
  std::vector<LockTarget> targets;
  for (const std::string& path : paths) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) continue;
    targets.push_back({path, info.st_dev, info.st_ino});
  }
  auto key = [](const LockTarget& t) { return std::tie(t.device, t.inode); };
  std::sort(targets.begin(), targets.end(), [&](const LockTarget& a, const LockTarget& b) { return key(a) < key(b); });
  targets.erase(std::unique(targets.begin(), targets.end(),
                            [&](const LockTarget& a, const LockTarget& b) { return key(a) == key(b); }),
                targets.end());
  Clock::time_point deadline = Clock::now() + patience;
  for (const LockTarget& target : targets) {
    // Read-only opening is enough for flock and works on directories.
    int fd = ::open(target.path.c_str(), O_RDONLY | O_CLOEXEC);
    std::error_code error = fd < 0 ? lastError() : lockWithin(fd, deadline);
    if (error) {
      if (fd >= 0) ::close(fd);
      release();
      blocked = target.path;
      return error;
    }
    held_.push_back(fd);
  }
  return {};
}

void AdvisoryLock::release() {
  // Closing the descriptor ends its lock.
  for (auto fd = held_.rbegin(); fd != held_.rend(); ++fd) ::close(*fd);
  held_.clear();
}

}  // namespace velk

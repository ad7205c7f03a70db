#include "platform/file_replacement.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace velk {
namespace {

namespace fs = std::filesystem;

std::error_code lastError() { return {errno, std::generic_category()}; }

// The file that a write to `path` changes: the end of a chain of symbolic
// links, or `path` itself.
std::string resolvedTarget(const std::string& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  fs::path resolved = fs::weakly_canonical(path, error);
  return error ? path : resolved.string();
}

// A name beside `target` that no other run picks: the process, a counter
// and a random number. Hidden, so that listings do not show a leftover.
std::string temporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 random(std::random_device{}());
  fs::path path(target);
  std::string name = "." + path.filename().string() + "." + std::to_string(::getpid()) + "." +
                     std::to_string(counter++) + "." + std::to_string(random() % 1000000) + ".tmp";
  return (path.parent_path() / name).string();
}

// Temporaries of `target` left by runs that were killed: their process is
// gone. Those of live processes are theirs to finish.
void removeLeftoverTemporaries(const std::string& target) {
  fs::path path(target);
  std::string prefix = "." + path.filename().string() + ".";
  std::error_code error;
  fs::path directory = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  for (const auto& entry : fs::directory_iterator(directory, error)) {
    std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - 4, 4, ".tmp") != 0)
      continue;
    long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove(entry.path(), error);
  }
}

std::error_code writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return lastError();
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return {};
}

// A rename is on disk once the directory that holds the name is.
void flushDirectoryOf(const std::string& path) {
  std::string directory = fs::path(path).parent_path().string();
  int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

FileReplacement::FileReplacement(std::string target) : target_(resolvedTarget(target)) {}

FileReplacement::~FileReplacement() { discard(); }

void FileReplacement::discard() {
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  temporary_.clear();
}

std::error_code FileReplacement::stage(std::string_view bytes) {
  discard();
  std::error_code error = writeTemporary(bytes);
  if (error) discard();
  return error;
}

std::error_code FileReplacement::writeTemporary(std::string_view bytes) {
  removeLeftoverTemporaries(target_);
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary_ = temporaryNameFor(target_);
    fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    std::error_code error = lastError();
    temporary_.clear();
    return error;
  }
  std::error_code error;
  struct stat old {};
  if (::stat(target_.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) error = lastError();
  if (!error) error = writeAll(fd, bytes);
  if (!error && ::fsync(fd) != 0) error = lastError();
  if (::close(fd) != 0 && !error) error = lastError();
  return error;
}

std::error_code FileReplacement::commit() {
  if (temporary_.empty()) return std::make_error_code(std::errc::invalid_argument);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return lastError();
  temporary_.clear();
  flushDirectoryOf(target_);
  return {};
}

}  // namespace velk

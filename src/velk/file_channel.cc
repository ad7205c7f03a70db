#include "velk/file_channel.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace velk::tracer {

FileChannel::~FileChannel() {
  if (fd_ >= 0) ::close(fd_);
}

result_t FileChannel::Create(const std::string& path) {
  std::lock_guard lock(mutex_);
  // O_NONBLOCK makes a named pipe without a reader fail at once instead of
  // waiting for one for ever; a pipe with a reader is written as usual.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) {
    // Creating a file fails with ENOENT only when a directory is missing.
    return errno == ENOENT ? errors::kPathNotFound : fromErrno(errno);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  return errors::kOk;
}

result_t FileChannel::Write(const TraceRecord&, std::string_view line) {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return errors::kNotInitialized;
  std::string buffer;
  buffer.reserve(line.size() + 1);
  buffer.append(line).push_back('\n');
  const char* data = buffer.data();
  size_t left = buffer.size();
  while (left > 0) {
    ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return fromErrno(errno);
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return errors::kOk;
}

}  // namespace velk::tracer

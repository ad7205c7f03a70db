#include "xmlfile/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace velk {
namespace {

int openFlags(FileIo::Mode mode) {
  switch (mode) {
    case FileIo::Mode::kRead: return O_RDONLY;
    case FileIo::Mode::kReadWrite: return O_RDWR | O_CREAT;
    case FileIo::Mode::kRewrite: return O_RDWR | O_CREAT | O_TRUNC;
  }
  return O_RDONLY;
}

result_t lastError() { return fromErrno(errno); }

}  // namespace

result_t FileIo::open(const std::string& path, Mode mode, Ref<IIO>& out) {
  out.reset();
  // Without O_NONBLOCK, opening a named pipe waits for its other end for
  // ever; pipes are refused below.
  int fd = ::open(path.c_str(), openFlags(mode) | O_CLOEXEC | O_NONBLOCK, 0666);
  if (fd < 0) return lastError();
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result_t r = lastError();
    ::close(fd);
    return r;
  }
  // A directory opens for reading here but is no file; it is refused the
  // way other systems refuse to open one.
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    return errors::kAccessDenied;
  }
  // The content is read by its size, which a pipe or socket does not have.
  if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
    ::close(fd);
    return errors::kNotSupported;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  out = Ref<IIO>(new FileIo(fd));
  return errors::kOk;
}

FileIo::~FileIo() { ::close(fd_); }

result_t FileIo::Read(void* buffer, uint32_t size, uint32_t* count) {
  if (!count || (!buffer && size)) return errors::kInvalidArgument;
  ssize_t got;
  do {
    got = ::read(fd_, buffer, size);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return lastError();
  *count = static_cast<uint32_t>(got);
  return errors::kOk;
}

result_t FileIo::Write(const void* bytes, uint32_t size, uint32_t* count) {
  if (!bytes && size) return errors::kInvalidArgument;
  const char* next = static_cast<const char*>(bytes);
  uint32_t left = size;
  while (left > 0) {
    ssize_t put = ::write(fd_, next, left);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return lastError();
    next += put;
    left -= static_cast<uint32_t>(put);
  }
  if (count) *count = size;
  return errors::kOk;
}

// Writes go straight to the system; nothing is buffered here.
result_t FileIo::Flush() { return errors::kOk; }

result_t FileIo::GetPosition(uint64_t* position) {
  if (!position) return errors::kInvalidArgument;
  off_t at = ::lseek(fd_, 0, SEEK_CUR);
  if (at < 0) return lastError();
  *position = static_cast<uint64_t>(at);
  return errors::kOk;
}

result_t FileIo::GetSize(uint64_t* size) {
  if (!size) return errors::kInvalidArgument;
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return lastError();
  *size = static_cast<uint64_t>(info.st_size);
  return errors::kOk;
}

result_t FileIo::SetSize(uint64_t size) {
  struct stat info {};
  if (::fstat(fd_, &info) != 0) return lastError();
  auto target = static_cast<off_t>(size);
  if (target <= info.st_size) return ::ftruncate(fd_, target) == 0 ? errors::kOk : lastError();
  // Growing takes the disk space at once, so that a full disk shows here and
  // not half way through a later write.
  int error = ::posix_fallocate(fd_, 0, target);
  if (error == EINVAL || error == EOPNOTSUPP) error = ::ftruncate(fd_, target) == 0 ? 0 : errno;
  if (error == 0) return errors::kOk;
  // A failed reservation must not leave the file longer than it was.
  while (::ftruncate(fd_, info.st_size) != 0 && errno == EINTR) {
  }
  return fromErrno(error);
}

result_t FileIo::Seek(uint64_t position) {
  return ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) >= 0 ? errors::kOk : lastError();
}

result_t readRest(IIO& io, std::string& bytes) {
  uint64_t size = 0;
  result_t r = io.GetSize(&size);
  if (failed(r)) return r;
  if (size > bytes.max_size()) return errors::kInvalidSize;
  bytes.resize(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    uint32_t chunk = static_cast<uint32_t>(std::min<size_t>(bytes.size() - done, 1u << 30));
    uint32_t got = 0;
    r = io.Read(bytes.data() + done, chunk, &got);
    if (failed(r)) return r;
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return errors::kOk;
}

}  // namespace velk

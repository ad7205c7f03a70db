#include "kv/store_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "kv/key_value_storage.h"
#include "kv/operation_guard.h"

namespace data_storage {
namespace {

// The platform result of removing a file; 0 when it was removed.
velk::result_t removeFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? velk::errors::kOk : velk::fromErrno(errno);
}

bool isMissing(velk::result_t r) { return r == velk::errors::kFileNotFound || r == velk::errors::kPathNotFound; }

}  // namespace

void traceCreating(velk::ITracer* tracer, const std::string& shownName) {
  kvTrace(tracer, velk::trace_level::kImportant, "Creating storage " + quoted(shownName));
}

void createFileStore(velk::ITracer* tracer, const std::string& path, IIndexedKeyValueStorage** out) {
  auto store = velk::make<KeyValueStorage>(velk::Ref<velk::ITracer>(tracer));
  store->openFile(path);
  kvTrace(tracer, velk::trace_level::kInfo, "Create succeeded for " + quoted(path));
  *out = store.detach();
}

bool hasWalHeader(const std::string& path) {
  static constexpr char kMagic[] = "SQLite format 3";  // sixteen bytes with its zero
  unsigned char header[20];
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool read = ::pread(fd, header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
  ::close(fd);
  // Bytes 18 and 19: the versions for reading and writing, 2 for WAL.
  return read && std::memcmp(header, kMagic, sizeof kMagic) == 0 && header[18] == 2 && header[19] == 2;
}

velk::result_t deleteStoreFiles(velk::ITracer* tracer, const std::string& shownName, const std::string& path) {
  kvTrace(tracer, velk::trace_level::kImportant, "Deleting storage " + quoted(shownName));
  velk::result_t removed = removeFile(path);
  if (isMissing(removed)) {
    kvTrace(tracer, velk::trace_level::kInfo, "Delete failed for " + quoted(path) + ", not found");
    return velk::errors::kNotFound;
  }
  velk::checkResult(removed, {kFactorySource, __LINE__});
  for (const char* suffix : {"-wal", "-shm"}) {
    removed = removeFile(path + suffix);
    if (!isMissing(removed)) velk::checkResult(removed, {kFactorySource, __LINE__});
  }
  kvTrace(tracer, velk::trace_level::kInfo, "Delete succeeded for " + quoted(path));
  return velk::errors::kOk;
}

}  // namespace data_storage

#include "kv/key_value_storage_factory_with_settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "kv/operation_guard.h"
#include "kv/store_files.h"

namespace data_storage {
namespace {

bool directoryMissing(const std::string& directory) {
  struct stat info;
  if (::stat(directory.c_str(), &info) == 0) return false;
  velk::result_t r = velk::fromErrno(errno);
  return r == velk::errors::kFileNotFound || r == velk::errors::kPathNotFound;
}

void createDirectories(const std::string& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) velk::checkResult(velk::fromErrno(error.value()), {kFactorySource, __LINE__});
}

}  // namespace

KeyValueStorageFactoryWithSettings::KeyValueStorageFactoryWithSettings(velk::IServiceLocator* locator)
    : tracer_(velk::getService<velk::ITracer>(locator)) {}

std::string KeyValueStorageFactoryWithSettings::storePath(const std::string& name, bool createDirectory) {
  std::string path;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    path = directory_;
  }
  if (createDirectory && !path.empty() && directoryMissing(path)) createDirectories(path);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + name + ".kvdb";
}

void KeyValueStorageFactoryWithSettings::prepareDirectory(const std::string&) {}

velk::result_t KeyValueStorageFactoryWithSettings::CreateStorageByName(const std::string& name,
                                                                       IIndexedKeyValueStorage** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  return guardOperation(tracer_.get(), [&] {
    traceCreating(tracer_.get(), name);
    std::string path = storePath(name, true);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      prepareDirectory(directory_);
    }
    createFileStore(tracer_.get(), path, out);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorageFactoryWithSettings::DeleteStorageByName(const std::string& name) {
  return guardOperation(tracer_.get(),
                        [&] { return deleteStoreFiles(tracer_.get(), name, storePath(name, false)); });
}

velk::result_t KeyValueStorageFactoryWithSettings::Construct(const std::string& directory) {
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), velk::trace_level::kDebug, "data_storage::KeyValueStorageFactoryWithSettings::Construct");
    std::lock_guard<std::mutex> lock(mutex_);
    directory_ = directory;
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorageFactoryWithSettings::SetSettings(const std::string& directory) {
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), velk::trace_level::kDebug,
            "data_storage::KeyValueStorageFactoryWithSettings::SetSettings");
    std::lock_guard<std::mutex> lock(mutex_);
    directory_ = directory;
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorageFactoryWithSettings::GetSettings(std::string& directory) {
  return guardOperation(tracer_.get(), [&] {
    std::lock_guard<std::mutex> lock(mutex_);
    directory = directory_;
    return velk::errors::kOk;
  });
}

}  // namespace data_storage

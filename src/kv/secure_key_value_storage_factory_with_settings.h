// The name-based factory that keeps its directory to the current user:
// before each creation the directory is made readable, writable and
// searchable by its owner only.
#pragma once

#include "kv/key_value_storage_factory_with_settings.h"

namespace data_storage {

// A failing system call, with the errno it left.
class SystemErrorWithLastError
    : public velk::ExceptionBase<SystemErrorWithLastError, velk::ResultCodeException> {
 public:
  static constexpr const char* kName = "SystemErrorWithLastError";
  SystemErrorWithLastError(velk::SourcePos pos, std::string message, int lastError);
  void describe(std::string& out) const override;
  int lastError() const { return lastError_; }

 private:
  int lastError_;
};

class SecureKeyValueStorageFactoryWithSettings : public KeyValueStorageFactoryWithSettings {
 public:
  using KeyValueStorageFactoryWithSettings::KeyValueStorageFactoryWithSettings;

 protected:
  void prepareDirectory(const std::string& directory) override;
};

}  // namespace data_storage

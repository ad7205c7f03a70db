#include "kv/secure_key_value_storage_factory_with_settings.h"

#include <sys/stat.h>

#include <cerrno>

#include "kv/store_files.h"

namespace data_storage {

SystemErrorWithLastError::SystemErrorWithLastError(velk::SourcePos pos, std::string message, int lastError)
    : ExceptionBase(pos, std::move(message), velk::fromErrno(lastError)), lastError_(lastError) {}

void SystemErrorWithLastError::describe(std::string& out) const {
  ResultCodeException::describe(out);
  out += " (sys error: " + std::to_string(lastError_) + ")";
}

void SecureKeyValueStorageFactoryWithSettings::prepareDirectory(const std::string& directory) {
  if (::chmod(directory.c_str(), S_IRWXU) != 0)
    throw SystemErrorWithLastError({kFactorySource, __LINE__}, "chmod", errno);
}

}  // namespace data_storage

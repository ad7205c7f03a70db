// Opening the database a command writes or reads, as one transaction.
#pragma once

#include <string>

#include "console/storage_error_reporter.h"
#include "kv/key_value_factory_interfaces.h"

namespace app_core {

enum class DatabaseUse {
  // compile and import: the file's directory is made first, and a path
  // with the extension "kvro" is left in read-only mode at the end.
  kWrite,
  // export: neither.
  kRead,
};

// True when the characters after the last "." of the last path component
// are exactly "kvro".
bool hasReadOnlyExtension(const std::string& path);

// Opens or creates the database at `path` through `factory` and wraps it in
// a transactional adapter whose transaction has begun; the caller holds the
// only reference, and releasing it commits. Raises helpers::Exception "Can't
// create directory for output file: ", NamedObjectError "Can't create
// key-value storage", or the adapters' exceptions. `reporter` hears the
// read-only switch.
velk::Ref<data_storage::IIndexedKeyValueStorage> openCommandDatabase(data_storage::IKeyValueStorageFactory* factory,
                                                                     helpers::StorageErrorReporter* reporter,
                                                                     const std::string& path, DatabaseUse use);

}  // namespace app_core

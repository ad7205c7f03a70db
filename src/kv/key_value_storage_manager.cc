#include "kv/key_value_storage_manager.h"

#include "kv/key_value_storage.h"
#include "kv/operation_guard.h"
#include "kv/store_files.h"

namespace data_storage {

using velk::trace_level::kImportant;
using velk::trace_level::kInfo;

KeyValueStorageManager::KeyValueStorageManager(velk::IServiceLocator* locator)
    : tracer_(velk::getService<velk::ITracer>(locator)) {}

velk::result_t KeyValueStorageManager::CreateStorage(const std::string& path, IIndexedKeyValueStorage** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  return guardOperation(tracer_.get(), [&] {
    traceCreating(tracer_.get(), path);
    createFileStore(tracer_.get(), path, out);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorageManager::CreateInMemory(const std::string& basePath, IIndexedKeyValueStorage** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), kImportant, "Creating storage in memory based on " + quoted(basePath));
    auto store = velk::make<KeyValueStorage>(tracer_);
    store->openInMemoryCopy(basePath);
    kvTrace(tracer_.get(), kInfo, "Create in memory succeeded for base " + quoted(basePath));
    *out = store.detach();
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorageManager::DeleteStorage(const std::string& path) {
  return guardOperation(tracer_.get(), [&] { return deleteStoreFiles(tracer_.get(), path, path); });
}

velk::result_t KeyValueStorageManager::ChangeJournalMode(const std::string& path, bool deleteMode) {
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), kImportant, "Changing journal mode for storage " + quoted(path));
    velk::make<KeyValueStorage>(tracer_)->changeJournalMode(path, deleteMode);
    kvTrace(tracer_.get(), kInfo, "Journal mode has been changed for " + quoted(path));
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorageManager::IsReadOnly(const std::string& path, bool& readOnly) {
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), kImportant, "Getting journal mode for storage " + quoted(path));
    bool deleteMode = velk::make<KeyValueStorage>(tracer_)->queryJournalMode(path);
    kvTrace(tracer_.get(), kInfo,
            "Current mode for " + quoted(path) + " is " + (deleteMode ? "" : "not ") + "read-only");
    readOnly = deleteMode;
    return velk::errors::kOk;
  });
}

}  // namespace data_storage

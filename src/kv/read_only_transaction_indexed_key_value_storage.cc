#include "kv/read_only_transaction_indexed_key_value_storage.h"

#include "console/helpers_exceptions.h"

namespace app_core {

namespace {

velk::Ref<data_storage::IKeyValueStorageManager> managerOf(velk::IObject* factory, const std::string& path) {
  velk::Ref<data_storage::IKeyValueStorageManager> manager;
  velk::result_t r = factory ? factory->QueryInterface(data_storage::IKeyValueStorageManager::IID, manager.putVoid())
                             : velk::errors::kNoInterface;
  if (velk::failed(r) || !manager) {
    throw helpers::NamedObjectError(kOpenDatabasePos,
                                    "data_storage::IKeyValueStorageManager interface is not supported", path,
                                    velk::failed(r) ? r : velk::errors::kNoInterface);
  }
  return manager;
}

}  // namespace

ReadOnlyTransactionIndexedKeyValueStorage::ReadOnlyTransactionIndexedKeyValueStorage(
    velk::Ref<data_storage::IIndexedKeyValueStorage> store, velk::Ref<helpers::StorageErrorReporter> reporter,
    velk::IObject* factory, std::string path)
    : TransactionIndexedKeyValueStorage(std::move(store)),
      reporter_(std::move(reporter)),
      manager_(managerOf(factory, path)),
      path_(std::move(path)) {}

ReadOnlyTransactionIndexedKeyValueStorage::~ReadOnlyTransactionIndexedKeyValueStorage() {
  // The switch opens the file for writing of its own, so the run's
  // connection must be gone first.
  commitAndRelease();
  try {
    switchToReadOnly();
  } catch (...) {
    // Releasing never fails; a reporter that throws is not heard.
  }
}

void ReadOnlyTransactionIndexedKeyValueStorage::switchToReadOnly() {
  std::string quotedPath = "\"" + path_ + "\"";
  velk::result_t r = manager_->ChangeJournalMode(path_, true);
  if (!reporter_) return;
  if (velk::succeeded(r)) {
    reporter_->ReportInfo(nullptr, "successfully set readonly mode for database " + quotedPath);
  } else {
    reporter_->ReportError(nullptr, "failed to set readonly mode for database " + quotedPath);
  }
}

}  // namespace app_core

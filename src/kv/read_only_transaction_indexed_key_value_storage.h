// The transactional adapter of a database that is left in read-only mode:
// after the commit the file is switched to read-only mode and the outcome is
// reported to the user.
#pragma once

#include <string>

#include "console/storage_error_reporter.h"
#include "kv/key_value_factory_interfaces.h"
#include "kv/transaction_indexed_key_value_storage.h"

namespace app_core {

class ReadOnlyTransactionIndexedKeyValueStorage : public TransactionIndexedKeyValueStorage {
 public:
  // Begins the transaction first. A factory without the manager interface
  // raises NamedObjectError "data_storage::IKeyValueStorageManager interface
  // is not supported" naming `path`.
  ReadOnlyTransactionIndexedKeyValueStorage(velk::Ref<data_storage::IIndexedKeyValueStorage> store,
                                            velk::Ref<helpers::StorageErrorReporter> reporter, velk::IObject* factory,
                                            std::string path);

 protected:
  ~ReadOnlyTransactionIndexedKeyValueStorage() override;

 private:
  void switchToReadOnly();

  velk::Ref<helpers::StorageErrorReporter> reporter_;
  velk::Ref<data_storage::IKeyValueStorageManager> manager_;
  std::string path_;
};

}  // namespace app_core

#include "kv/open_command_database.h"

#include "console/helpers_exceptions.h"
#include "console/output_directory.h"
#include "kv/read_only_transaction_indexed_key_value_storage.h"
#include "kv/transaction_indexed_key_value_storage.h"
#include "platform/path_rules.h"

namespace app_core {

using data_storage::IIndexedKeyValueStorage;

bool hasReadOnlyExtension(const std::string& path) { return velk::extensionOf(path) == "kvro"; }

velk::Ref<IIndexedKeyValueStorage> openCommandDatabase(data_storage::IKeyValueStorageFactory* factory,
                                                       helpers::StorageErrorReporter* reporter, const std::string& path,
                                                       DatabaseUse use) {
  if (use == DatabaseUse::kWrite) createOutputDirectory(path, {kCompilerSource, 118});
  velk::Ref<IIndexedKeyValueStorage> store;
  velk::result_t r = factory->CreateStorage(path, store.put());
  if (velk::failed(r)) {
    throw helpers::NamedObjectError({kCompilerSource, 124}, "Can't create key-value storage", path, r);
  }
  if (use == DatabaseUse::kWrite && hasReadOnlyExtension(path)) {
    return velk::make<ReadOnlyTransactionIndexedKeyValueStorage>(
        std::move(store), velk::Ref<helpers::StorageErrorReporter>(reporter), factory, path);
  }
  return velk::make<TransactionIndexedKeyValueStorage>(std::move(store));
}

}  // namespace app_core

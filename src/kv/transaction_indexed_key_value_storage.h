// A command's database seen as one transaction: the transaction begins when
// the adapter is made and is committed when the adapter is released, so that
// a whole run is written at once or not at all.
#pragma once

#include "kv/key_value_storage_interfaces.h"
#include "velk/exception.h"

namespace app_core {

class TransactionIndexedKeyValueStorage : public velk::ObjectBase<data_storage::IIndexedKeyValueStorage> {
 public:
  // Begins the transaction on `store`. A store without transactions raises
  // BadQueryInterfaceException; a failed begin raises helpers::Exception
  // "data_storage::ITransaction::BeginTransaction" with its code.
  explicit TransactionIndexedKeyValueStorage(velk::Ref<data_storage::IIndexedKeyValueStorage> store);

  velk::result_t Insert(data_storage::ByteRange key, data_storage::ByteRange value, int64_t& id) override;
  velk::result_t UpdateByKey(data_storage::ByteRange key, data_storage::ByteRange value) override;
  velk::result_t UpdateById(int64_t id, data_storage::ByteRange value) override;
  velk::result_t FindByKey(data_storage::ByteRange key, data_storage::Bytes& value, int64_t& id) override;
  velk::result_t GetById(int64_t id, data_storage::Bytes& key, data_storage::Bytes& value) override;
  velk::result_t RemoveByKey(data_storage::ByteRange key) override;
  velk::result_t RemoveById(int64_t id) override;
  velk::result_t CreateEnumerator(data_storage::IIndexedKeyValueEnumerator** out) override;
  velk::result_t Compact() override;
  velk::result_t Clear() override;

  // Commits now, for a command that must know whether its records were
  // stored; the release then has nothing left to commit. A failed commit
  // leaves the transaction to be rolled back when the connection closes.
  velk::result_t commit();
  // Undoes the run's writes, for a command that fails half way; the release
  // then commits nothing.
  velk::result_t rollback();

 protected:
  ~TransactionIndexedKeyValueStorage() override;

  // Commits and lets go of the store; the store's connection closes here
  // unless someone else holds the store. Nobody hears of a failed commit.
  void commitAndRelease();

 private:
  velk::Ref<data_storage::IIndexedKeyValueStorage> store_;
  velk::Ref<data_storage::ITransaction> transaction_;
};

// Commits the transaction of a command database made by openCommandDatabase
// and gives the result; kOk for any other store.
velk::result_t commitCommandDatabase(data_storage::IIndexedKeyValueStorage* database);
// Rolls the transaction of such a database back; kOk for any other store.
velk::result_t rollbackCommandDatabase(data_storage::IIndexedKeyValueStorage* database);

// Where the opening of a command database raises its exceptions.
constexpr velk::SourcePos kOpenDatabasePos{"components/vorn_config_compiler/source/vorn_config_compiler", 131};

}  // namespace app_core

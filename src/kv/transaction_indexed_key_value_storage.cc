#include "kv/transaction_indexed_key_value_storage.h"

#include "console/helpers_exceptions.h"

namespace app_core {

using data_storage::ByteRange;
using data_storage::Bytes;
using velk::result_t;

TransactionIndexedKeyValueStorage::TransactionIndexedKeyValueStorage(
    velk::Ref<data_storage::IIndexedKeyValueStorage> store)
    : store_(std::move(store)), transaction_(velk::queryInterface<data_storage::ITransaction>(store_.get())) {
  if (!transaction_) throw velk::BadQueryInterfaceException(kOpenDatabasePos, "data_storage::ITransaction");
  result_t r = transaction_->BeginTransaction();
  if (velk::failed(r)) {
    // Nothing was begun, so there is nothing to commit on the way out.
    transaction_.reset();
    throw helpers::Exception(kOpenDatabasePos, "data_storage::ITransaction::BeginTransaction", r);
  }
}

TransactionIndexedKeyValueStorage::~TransactionIndexedKeyValueStorage() { commitAndRelease(); }

result_t TransactionIndexedKeyValueStorage::commit() {
  if (!transaction_) return velk::errors::kOk;
  result_t r = transaction_->CommitTransaction();
  transaction_.reset();
  return r;
}

result_t TransactionIndexedKeyValueStorage::rollback() {
  if (!transaction_) return velk::errors::kOk;
  result_t r = transaction_->RollbackTransaction();
  transaction_.reset();
  return r;
}

result_t rollbackCommandDatabase(data_storage::IIndexedKeyValueStorage* database) {
  auto* adapter = dynamic_cast<TransactionIndexedKeyValueStorage*>(database);
  return adapter ? adapter->rollback() : velk::errors::kOk;
}

result_t commitCommandDatabase(data_storage::IIndexedKeyValueStorage* database) {
  auto* adapter = dynamic_cast<TransactionIndexedKeyValueStorage*>(database);
  return adapter ? adapter->commit() : velk::errors::kOk;
}

void TransactionIndexedKeyValueStorage::commitAndRelease() {
  if (transaction_) transaction_->CommitTransaction();
  transaction_.reset();
  store_.reset();
}

result_t TransactionIndexedKeyValueStorage::Insert(ByteRange key, ByteRange value, int64_t& id) {
  return store_->Insert(key, value, id);
}

result_t TransactionIndexedKeyValueStorage::UpdateByKey(ByteRange key, ByteRange value) {
  return store_->UpdateByKey(key, value);
}

result_t TransactionIndexedKeyValueStorage::UpdateById(int64_t id, ByteRange value) {
  return store_->UpdateById(id, value);
}

result_t TransactionIndexedKeyValueStorage::FindByKey(ByteRange key, Bytes& value, int64_t& id) {
  return store_->FindByKey(key, value, id);
}

result_t TransactionIndexedKeyValueStorage::GetById(int64_t id, Bytes& key, Bytes& value) {
  return store_->GetById(id, key, value);
}

result_t TransactionIndexedKeyValueStorage::RemoveByKey(ByteRange key) { return store_->RemoveByKey(key); }

result_t TransactionIndexedKeyValueStorage::RemoveById(int64_t id) { return store_->RemoveById(id); }

result_t TransactionIndexedKeyValueStorage::CreateEnumerator(data_storage::IIndexedKeyValueEnumerator** out) {
  return store_->CreateEnumerator(out);
}

result_t TransactionIndexedKeyValueStorage::Compact() { return store_->Compact(); }

result_t TransactionIndexedKeyValueStorage::Clear() { return store_->Clear(); }

}  // namespace app_core

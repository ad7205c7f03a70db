#include "adapter_test_support.h"

#include <algorithm>

namespace data_storage::test {

using velk::result_t;

ScriptedStore::ScriptedStore(velk::Ref<IIndexedKeyValueStorage> inner)
    : inner_(std::move(inner)), transaction_(velk::queryInterface<ITransaction>(inner_.get())) {}

int ScriptedStore::count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

result_t ScriptedStore::Insert(ByteRange key, ByteRange value, int64_t& id) {
  calls.push_back("Insert");
  return velk::failed(failInsert) ? failInsert : inner_->Insert(key, value, id);
}

result_t ScriptedStore::UpdateByKey(ByteRange key, ByteRange value) {
  calls.push_back("UpdateByKey");
  return inner_->UpdateByKey(key, value);
}

result_t ScriptedStore::UpdateById(int64_t id, ByteRange value) {
  calls.push_back("UpdateById");
  return velk::failed(failUpdate) ? failUpdate : inner_->UpdateById(id, value);
}

result_t ScriptedStore::FindByKey(ByteRange key, Bytes& value, int64_t& id) {
  calls.push_back("FindByKey");
  return velk::failed(failFind) ? failFind : inner_->FindByKey(key, value, id);
}

result_t ScriptedStore::GetById(int64_t id, Bytes& key, Bytes& value) {
  calls.push_back("GetById");
  return inner_->GetById(id, key, value);
}

result_t ScriptedStore::RemoveByKey(ByteRange key) {
  calls.push_back("RemoveByKey");
  return inner_->RemoveByKey(key);
}

result_t ScriptedStore::RemoveById(int64_t id) {
  calls.push_back("RemoveById");
  return inner_->RemoveById(id);
}

result_t ScriptedStore::CreateEnumerator(IIndexedKeyValueEnumerator** out) {
  calls.push_back("CreateEnumerator");
  return inner_->CreateEnumerator(out);
}

result_t ScriptedStore::Compact() {
  calls.push_back("Compact");
  return inner_->Compact();
}

result_t ScriptedStore::Clear() {
  calls.push_back("Clear");
  return inner_->Clear();
}

result_t ScriptedStore::BeginTransaction() {
  calls.push_back("BeginTransaction");
  return velk::failed(failBegin) ? failBegin : transaction_->BeginTransaction();
}

result_t ScriptedStore::CommitTransaction() {
  calls.push_back("CommitTransaction");
  return transaction_->CommitTransaction();
}

result_t ScriptedStore::RollbackTransaction() {
  calls.push_back("RollbackTransaction");
  return transaction_->RollbackTransaction();
}

}  // namespace data_storage::test

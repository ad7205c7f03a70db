// A store that passes everything to a real one but refuses chosen keys.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "kv/key_value_storage_interfaces.h"

namespace app_core::testing {

class FailingStore : public velk::ObjectBase<data_storage::IIndexedKeyValueStorage> {
 public:
  explicit FailingStore(velk::Ref<data_storage::IIndexedKeyValueStorage> store) : store_(std::move(store)) {}

  std::set<std::string> refusedInserts;  // keys whose record cannot be made
  std::set<int64_t> refusedUpdates;      // ids whose record cannot be stored

  velk::result_t Insert(data_storage::ByteRange key, data_storage::ByteRange value, int64_t& id) override {
    if (refusedInserts.count(std::string(key.begin, key.end))) return velk::errors::kAccessDenied;
    return store_->Insert(key, value, id);
  }
  velk::result_t UpdateById(int64_t id, data_storage::ByteRange value) override {
    return refusedUpdates.count(id) ? velk::errors::kAccessDenied : store_->UpdateById(id, value);
  }
  velk::result_t UpdateByKey(data_storage::ByteRange key, data_storage::ByteRange value) override {
    return store_->UpdateByKey(key, value);
  }
  velk::result_t FindByKey(data_storage::ByteRange key, data_storage::Bytes& value, int64_t& id) override {
    return store_->FindByKey(key, value, id);
  }
  velk::result_t GetById(int64_t id, data_storage::Bytes& key, data_storage::Bytes& value) override {
    return store_->GetById(id, key, value);
  }
  velk::result_t RemoveByKey(data_storage::ByteRange key) override { return store_->RemoveByKey(key); }
  velk::result_t RemoveById(int64_t id) override { return store_->RemoveById(id); }
  velk::result_t CreateEnumerator(data_storage::IIndexedKeyValueEnumerator** out) override {
    return store_->CreateEnumerator(out);
  }
  velk::result_t Compact() override { return store_->Compact(); }
  velk::result_t Clear() override { return store_->Clear(); }

 private:
  velk::Ref<data_storage::IIndexedKeyValueStorage> store_;
};

}  // namespace app_core::testing

// Stand-ins for the transactional adapter and persistent node tests: a store
// that counts and fails on request, and a manager that fails.
#pragma once

#include <string>
#include <vector>

#include "kv/key_value_factory_interfaces.h"
#include "kv/key_value_storage_interfaces.h"
#include "recording_reporter.h"

namespace data_storage::test {

// Passes every call to a real store unless a failure is set for it.
class ScriptedStore : public velk::ObjectBase<IIndexedKeyValueStorage, ITransaction> {
 public:
  explicit ScriptedStore(velk::Ref<IIndexedKeyValueStorage> inner);

  velk::result_t Insert(ByteRange key, ByteRange value, int64_t& id) override;
  velk::result_t UpdateByKey(ByteRange key, ByteRange value) override;
  velk::result_t UpdateById(int64_t id, ByteRange value) override;
  velk::result_t FindByKey(ByteRange key, Bytes& value, int64_t& id) override;
  velk::result_t GetById(int64_t id, Bytes& key, Bytes& value) override;
  velk::result_t RemoveByKey(ByteRange key) override;
  velk::result_t RemoveById(int64_t id) override;
  velk::result_t CreateEnumerator(IIndexedKeyValueEnumerator** out) override;
  velk::result_t Compact() override;
  velk::result_t Clear() override;
  velk::result_t BeginTransaction() override;
  velk::result_t CommitTransaction() override;
  velk::result_t RollbackTransaction() override;

  // Names of the calls in order ("Insert", "BeginTransaction", ...).
  std::vector<std::string> calls;
  int count(const std::string& call) const;

  velk::result_t failBegin = velk::errors::kOk;
  velk::result_t failFind = velk::errors::kOk;
  velk::result_t failInsert = velk::errors::kOk;
  velk::result_t failUpdate = velk::errors::kOk;

 private:
  velk::Ref<IIndexedKeyValueStorage> inner_;
  velk::Ref<ITransaction> transaction_;
};

// A store that has no transactions at all.
class StoreWithoutTransactions : public velk::ObjectBase<IIndexedKeyValueStorage> {
 public:
  velk::result_t Insert(ByteRange, ByteRange, int64_t&) override { return velk::errors::kOk; }
  velk::result_t UpdateByKey(ByteRange, ByteRange) override { return velk::errors::kOk; }
  velk::result_t UpdateById(int64_t, ByteRange) override { return velk::errors::kOk; }
  velk::result_t FindByKey(ByteRange, Bytes&, int64_t&) override { return velk::errors::kNotFound; }
  velk::result_t GetById(int64_t, Bytes&, Bytes&) override { return velk::errors::kNotFound; }
  velk::result_t RemoveByKey(ByteRange) override { return velk::errors::kNotFound; }
  velk::result_t RemoveById(int64_t) override { return velk::errors::kNotFound; }
  velk::result_t CreateEnumerator(IIndexedKeyValueEnumerator**) override { return velk::errors::kNotImplemented; }
  velk::result_t Compact() override { return velk::errors::kOk; }
  velk::result_t Clear() override { return velk::errors::kOk; }
};

// A manager whose journal-mode change fails.
class FailingManager : public velk::ObjectBase<IKeyValueStorageManager> {
 public:
  velk::result_t DeleteStorage(const std::string&) override { return velk::errors::kOk; }
  velk::result_t ChangeJournalMode(const std::string&, bool) override { return velk::errors::kAccessDenied; }
  velk::result_t IsReadOnly(const std::string&, bool&) override { return velk::errors::kOk; }
};

using app_core::testing::RecordingReporter;

}  // namespace data_storage::test

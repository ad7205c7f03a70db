// Walks the records of a store by id. Ids are read lazily: records added or
// removed meanwhile may or may not be seen.
#pragma once

#include "kv/key_value_storage.h"

namespace data_storage {

class KeyValueEnumerator : public velk::ObjectBase<IIndexedKeyValueEnumerator> {
 public:
  KeyValueEnumerator(velk::Ref<KeyValueStorage> store, StatementHandle rows);

  velk::result_t GetKey(Bytes& key) override;
  velk::result_t GetValue(Bytes& value) override;
  velk::result_t GetId(int64_t& id) override;
  velk::result_t MoveNext() override;
  velk::result_t Reset() override;

 private:
  template <class Body>
  velk::result_t locked(Body&& body);
  velk::result_t read(Statement statement, Bytes& out);

  velk::Ref<KeyValueStorage> store_;
  StatementHandle rows_;  // declared after the store: finalized before it goes
  int64_t current_ = 0;   // 0: no current record
  bool atEnd_ = false;
};

}  // namespace data_storage

#include "kv/key_value_enumerator.h"

#include "kv/operation_guard.h"

namespace data_storage {

KeyValueEnumerator::KeyValueEnumerator(velk::Ref<KeyValueStorage> store, StatementHandle rows)
    : store_(std::move(store)), rows_(std::move(rows)) {}

template <class Body>
velk::result_t KeyValueEnumerator::locked(Body&& body) {
  return guardOperation(store_->tracer(), [&] {
    auto guard = store_->lock();
    return body();
  });
}

velk::result_t KeyValueEnumerator::read(Statement statement, Bytes& out) {
  return locked([&] {
    if (current_ == 0) return velk::errors::kInvalidState;
    store_->readById(statement, current_, out);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueEnumerator::GetKey(Bytes& key) { return read(Statement::kKeyById, key); }

velk::result_t KeyValueEnumerator::GetValue(Bytes& value) { return read(Statement::kValueById, value); }

velk::result_t KeyValueEnumerator::GetId(int64_t& id) {
  return locked([&] {
    if (current_ == 0) return velk::errors::kInvalidState;
    id = current_;
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueEnumerator::MoveNext() {
  return locked([&] {
    // Stepping a finished statement would start it over; only Reset does.
    if (!atEnd_ && store_->database().step(rows_.get())) {
      current_ = sqlite3_column_int64(rows_.get(), 0);
      return velk::errors::kOk;
    }
    current_ = 0;
    atEnd_ = true;
    return velk::errors::kFalse;
  });
}

velk::result_t KeyValueEnumerator::Reset() {
  return locked([&] {
    current_ = 0;
    atEnd_ = false;
    sqlite3_reset(rows_.get());
    return velk::errors::kOk;
  });
}

}  // namespace data_storage

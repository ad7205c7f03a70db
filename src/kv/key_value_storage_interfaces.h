// The record interfaces of a key-value store: records are pairs of opaque
// byte strings with a 64-bit id assigned by the database.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

#include "velk/object.h"

namespace data_storage {

using Bytes = std::vector<uint8_t>;

// A borrowed range of bytes; the owner keeps them alive during the call.
struct ByteRange {
  const uint8_t* begin = nullptr;
  const uint8_t* end = nullptr;

  ByteRange() = default;
  ByteRange(const uint8_t* first, const uint8_t* last) : begin(first), end(last) {}
  // Text of any kind: std::string, std::string_view, a string literal.
  template <class Text, class = std::enable_if_t<std::is_convertible_v<const Text&, std::string_view>>>
  ByteRange(const Text& text) {
    std::string_view view = text;
    begin = reinterpret_cast<const uint8_t*>(view.data());
    end = begin + view.size();
  }
  ByteRange(const Bytes& bytes) : begin(bytes.data()), end(bytes.data() + bytes.size()) {}

  size_t size() const { return static_cast<size_t>(end - begin); }
};

struct IIndexedKeyValueEnumerator;

struct IIndexedKeyValueStorage : velk::IObject {
  static constexpr velk::iid_t IID = 0x44722379;
  // kAlreadyExists with the existing record's id when the key is taken.
  virtual velk::result_t Insert(ByteRange key, ByteRange value, int64_t& id) = 0;
  virtual velk::result_t UpdateByKey(ByteRange key, ByteRange value) = 0;
  virtual velk::result_t UpdateById(int64_t id, ByteRange value) = 0;
  // kNotFound leaves the outputs untouched.
  virtual velk::result_t FindByKey(ByteRange key, Bytes& value, int64_t& id) = 0;
  virtual velk::result_t GetById(int64_t id, Bytes& key, Bytes& value) = 0;
  virtual velk::result_t RemoveByKey(ByteRange key) = 0;
  virtual velk::result_t RemoveById(int64_t id) = 0;
  virtual velk::result_t CreateEnumerator(IIndexedKeyValueEnumerator** out) = 0;
  virtual velk::result_t Compact() = 0;
  virtual velk::result_t Clear() = 0;
};

// Transactions do not nest.
struct ITransaction : velk::IObject {
  static constexpr velk::iid_t IID = 0x8D5109F6;
  virtual velk::result_t BeginTransaction() = 0;
  virtual velk::result_t CommitTransaction() = 0;
  virtual velk::result_t RollbackTransaction() = 0;
};

// Starts before the first record: call MoveNext first. The order is the
// engine's and must not be relied on.
struct IIndexedKeyValueEnumerator : velk::IObject {
  static constexpr velk::iid_t IID = 0xB95F8112;
  // kInvalidState without a current record.
  virtual velk::result_t GetKey(Bytes& key) = 0;
  virtual velk::result_t GetValue(Bytes& value) = 0;
  virtual velk::result_t GetId(int64_t& id) = 0;
  // kFalse at the end.
  virtual velk::result_t MoveNext() = 0;
  virtual velk::result_t Reset() = 0;
};

}  // namespace data_storage

// The hierarchical node interface through which every XML document and every
// stored record tree is read and written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "velk/object.h"

namespace velk {

// Value type codes; kByRef added to a code means the same type passed by
// reference, and is written the same way.
enum ValueType : uint32_t {
  kTypeEmpty = 0,
  kTypeBool = 2,
  kTypeInt8 = 3,
  kTypeInt16 = 4,
  kTypeInt32 = 5,
  kTypeInt64 = 6,
  kTypeUInt8 = 7,
  kTypeUInt16 = 8,
  kTypeUInt32 = 9,
  kTypeUInt64 = 10,
  kTypeDouble = 11,
  kTypeLong64 = 12,
  kTypeText = 14,
  kTypeWideText = 15,
  kTypeBinary = 16,
  kTypeByRef = 0x4000,
};

// A typed value passed to a storage read or write. For a read, `type` names
// the wanted type and the matching field receives the data. Integer types of
// every width live in `bits` (signed ones sign-extended to 64 bits).
struct ValueDescriptor {
  uint32_t type = kTypeEmpty;
  uint64_t bits = 0;
  double real = 0;
  std::string text;
  std::wstring wideText;
  std::vector<uint8_t> bytes;

  uint32_t baseType() const { return type & ~uint32_t(kTypeByRef); }

  static ValueDescriptor empty() { return {}; }
  static ValueDescriptor ofText(std::string s) {
    ValueDescriptor v;
    v.type = kTypeText;
    v.text = std::move(s);
    return v;
  }
  static ValueDescriptor ofWideText(std::wstring s) {
    ValueDescriptor v;
    v.type = kTypeWideText;
    v.wideText = std::move(s);
    return v;
  }
  static ValueDescriptor ofBool(bool b) { return ofBits(kTypeBool, b ? 1 : 0); }
  static ValueDescriptor ofInt32(int32_t i) { return ofBits(kTypeInt32, static_cast<uint64_t>(int64_t(i))); }
  static ValueDescriptor ofUInt32(uint32_t u) { return ofBits(kTypeUInt32, u); }
  static ValueDescriptor ofUInt8(uint8_t u) { return ofBits(kTypeUInt8, u); }
  static ValueDescriptor ofUInt64(uint64_t u) { return ofBits(kTypeUInt64, u); }
  static ValueDescriptor ofInt64(int64_t i) { return ofBits(kTypeInt64, static_cast<uint64_t>(i)); }
  static ValueDescriptor ofBinary(std::vector<uint8_t> b) {
    ValueDescriptor v;
    v.type = kTypeBinary;
    v.bytes = std::move(b);
    return v;
  }
  static ValueDescriptor ofBits(uint32_t type, uint64_t bits) {
    ValueDescriptor v;
    v.type = type;
    v.bits = bits;
    return v;
  }
};

// Names are narrow (UTF-8) text. The name operations follow one size
// protocol: with no buffer `*size` receives length + 1; a buffer smaller than
// length + 1 gives kBufferTooSmall; otherwise the name is copied with a
// terminating zero and `*size` receives the length.
struct IStorage : IObject {
  static constexpr iid_t IID = 0x2B0C7A11;

  virtual result_t CreateNode(std::string_view name, IStorage** child) = 0;
  virtual result_t RemoveNode(std::string_view name) = 0;
  virtual result_t GetNode(uint32_t index, IStorage** child) = 0;
  virtual result_t GetNode(std::string_view name, IStorage** child) = 0;
  virtual result_t GetName(char* buffer, uint32_t* size) = 0;
  virtual result_t GetNodesCount(uint32_t* count) = 0;
  virtual result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) = 0;
  virtual result_t GetValuesCount(uint32_t* count) = 0;
  virtual result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) = 0;
  virtual result_t WriteValue(std::string_view name, const ValueDescriptor& value, uint32_t flags) = 0;
  virtual result_t ReadValue(uint32_t index, ValueDescriptor& value, uint32_t flags) = 0;
  // The empty name reads the element's text ("" when it has none).
  virtual result_t ReadValue(std::string_view name, ValueDescriptor& value, uint32_t flags) = 0;
  virtual result_t Flush() = 0;
};

// Offered by storage nodes that know where they stood in their source text.
struct IStoragePosition : IObject {
  static constexpr iid_t IID = 0x5E1D3C27;
  // Row and column from 1; fails when unknown.
  virtual result_t GetPosition(int* row, int* column) = 0;
};

// Applies the size protocol above to copy `name` out.
result_t copyName(std::string_view name, char* buffer, uint32_t* size);

}  // namespace velk

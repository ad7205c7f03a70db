// Meta information of plain structures that the structure serializer reads
// and writes: a named, identified type with an ordered field table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "velk/object.h"

namespace velk {

// Root of every structure the serializer creates.
struct SerializableStruct {
  virtual ~SerializableStruct() = default;
};

enum class FieldType { kUInt8, kUInt32, kBool, kText, kDateTime, kStruct };

struct StructMetaInfo;

struct FieldMetaInfo {
  const char* name;
  FieldType type;
  // The field inside an object of the structure; for kStruct fields the
  // address is that of the nested SerializableStruct.
  void* (*locate)(SerializableStruct& object);
  const StructMetaInfo* structInfo = nullptr;  // kStruct fields only
};

struct StructMetaInfo {
  uint32_t typeId;
  const char* name;
  size_t size;
  std::vector<FieldMetaInfo> fields;
  // A default object of the type.
  std::shared_ptr<SerializableStruct> (*create)();
};

struct IStructMetaInfoRegistry : IObject {
  static constexpr iid_t IID = 0x3C9D7E21;
  // `*info` receives the type's meta information, or null when the type is
  // not known (which is not a failure).
  virtual result_t FindStructMetaInfo(uint32_t typeId, const StructMetaInfo** info) = 0;
  virtual result_t RegisterStructMetaInfo(const StructMetaInfo* info) = 0;
  virtual result_t UnregisterStructMetaInfo(uint32_t typeId) = 0;
  virtual result_t GetStructMetaInfoCount(uint32_t* count) = 0;
};

namespace detail {

template <class M>
struct MemberPointer;
template <class S, class T>
struct MemberPointer<T S::*> {
  using Struct = S;
  using Field = T;
};

template <class T>
constexpr FieldType fieldTypeOf() {
  if constexpr (std::is_same_v<T, uint8_t>)
    return FieldType::kUInt8;
  else if constexpr (std::is_same_v<T, uint32_t>)
    return FieldType::kUInt32;
  else if constexpr (std::is_same_v<T, bool>)
    return FieldType::kBool;
  else if constexpr (std::is_same_v<T, std::string>)
    return FieldType::kText;
  else if constexpr (std::is_same_v<T, uint64_t>)
    return FieldType::kDateTime;
  else {
    static_assert(std::is_base_of_v<SerializableStruct, T>, "unsupported field type");
    return FieldType::kStruct;
  }
}

template <auto Member>
void* locateMember(SerializableStruct& object) {
  using Info = MemberPointer<decltype(Member)>;
  auto& field = static_cast<typename Info::Struct&>(object).*Member;
  if constexpr (fieldTypeOf<typename Info::Field>() == FieldType::kStruct)
    return static_cast<SerializableStruct*>(&field);
  else
    return &field;
}

}  // namespace detail

// The table entry of a data member; 64-bit members are date-times.
template <auto Member>
FieldMetaInfo structField(const char* name, const StructMetaInfo* structInfo = nullptr) {
  using Field = typename detail::MemberPointer<decltype(Member)>::Field;
  return {name, detail::fieldTypeOf<Field>(), &detail::locateMember<Member>, structInfo};
}

template <class T>
std::shared_ptr<SerializableStruct> createStruct() {
  return std::make_shared<T>();
}

}  // namespace velk

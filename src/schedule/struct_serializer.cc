#include "schedule/struct_serializer.h"

namespace velk {
namespace {

constexpr const char* kTypeMarker = "unique_id";

bool isAbsent(result_t r) {
  return r == errors::kNotFound || r == errors::kFileNotFound || r == errors::kPathNotFound;
}

uint32_t readTypeOf(FieldType type) {
  switch (type) {
    case FieldType::kUInt8:
      return kTypeByRef | kTypeUInt8;
    case FieldType::kUInt32:
      return kTypeByRef | kTypeUInt32;
    case FieldType::kBool:
      return kTypeByRef | kTypeBool;
    case FieldType::kText:
      return kTypeByRef | kTypeText;
    case FieldType::kDateTime:
      return kTypeByRef | kTypeUInt64;
    case FieldType::kStruct:
      break;
  }
  return kTypeEmpty;
}

void storeField(const FieldMetaInfo& field, void* address, const ValueDescriptor& value) {
  switch (field.type) {
    case FieldType::kUInt8:
      *static_cast<uint8_t*>(address) = static_cast<uint8_t>(value.bits);
      break;
    case FieldType::kUInt32:
      *static_cast<uint32_t*>(address) = static_cast<uint32_t>(value.bits);
      break;
    case FieldType::kBool:
      *static_cast<bool*>(address) = value.bits != 0;
      break;
    case FieldType::kText:
      *static_cast<std::string*>(address) = value.text;
      break;
    case FieldType::kDateTime:
      *static_cast<uint64_t*>(address) = value.bits;
      break;
    case FieldType::kStruct:
      break;
  }
}

ValueDescriptor fieldValue(const FieldMetaInfo& field, void* address) {
  switch (field.type) {
    case FieldType::kUInt8:
      return ValueDescriptor::ofUInt8(*static_cast<uint8_t*>(address));
    case FieldType::kUInt32:
      return ValueDescriptor::ofUInt32(*static_cast<uint32_t*>(address));
    case FieldType::kBool:
      return ValueDescriptor::ofBool(*static_cast<bool*>(address));
    case FieldType::kText:
      return ValueDescriptor::ofText(*static_cast<std::string*>(address));
    // Date-times are stored as 64-bit time values.
    case FieldType::kDateTime:
      return ValueDescriptor::ofBits(kTypeLong64, *static_cast<uint64_t*>(address));
    case FieldType::kStruct:
      break;
  }
  return ValueDescriptor::empty();
}

std::string fieldError(const StructMetaInfo& info, const char* field, result_t r) {
  return std::string("Can't read field '") + field + "' of '" + info.name + "': " + frameworkText(r);
}

result_t readFields(IStorage* node, const StructMetaInfo& info, SerializableStruct& object,
                    std::string* errorText) {
  for (const FieldMetaInfo& field : info.fields) {
    void* address = field.locate(object);
    if (field.type == FieldType::kStruct) {
      Ref<IStorage> child;
      result_t r = node->GetNode(field.name, child.put());
      if (isAbsent(r)) continue;
      if (failed(r)) return *errorText = fieldError(info, field.name, r), r;
      r = readFields(child.get(), *field.structInfo, *static_cast<SerializableStruct*>(address), errorText);
      if (failed(r)) return r;
      continue;
    }
    ValueDescriptor value;
    value.type = readTypeOf(field.type);
    result_t r = node->ReadValue(field.name, value, 0);
    if (isAbsent(r)) continue;
    if (failed(r)) return *errorText = fieldError(info, field.name, r), r;
    storeField(field, address, value);
  }
  return errors::kOk;
}

result_t writeFields(IStorage* node, const StructMetaInfo& info, SerializableStruct& object) {
  for (const FieldMetaInfo& field : info.fields) {
    void* address = field.locate(object);
    if (field.type != FieldType::kStruct) {
      result_t r = node->WriteValue(field.name, fieldValue(field, address), 0);
      if (failed(r)) return r;
      continue;
    }
    Ref<IStorage> child;
    result_t r = node->GetNode(field.name, child.put());
    if (failed(r)) r = node->CreateNode(field.name, child.put());
    if (failed(r)) return r;
    r = writeFields(child.get(), *field.structInfo, *static_cast<SerializableStruct*>(address));
    if (failed(r)) return r;
  }
  return errors::kOk;
}

}  // namespace

result_t StructSerializer::findInfo(uint32_t typeId, const StructMetaInfo** info, std::string* errorText) {
  result_t r = registry_->FindStructMetaInfo(typeId, info);
  if (failed(r)) {
    *errorText = "Can't look up type " + hexId(typeId) + ": " + frameworkText(r);
    return r;
  }
  if (!*info) {
    *errorText = "Unknown type " + hexId(typeId);
    return errors::kMetaInfoNotFound;
  }
  return errors::kOk;
}

result_t StructSerializer::Deserialize(IStorage* node, std::shared_ptr<SerializableStruct>* object,
                                       uint32_t* typeId, std::string* errorText) {
  std::string ignored;
  if (!errorText) errorText = &ignored;
  if (!node || !object || !typeId) return errors::kInvalidArgument;
  object->reset();
  ValueDescriptor marker;
  marker.type = kTypeByRef | kTypeUInt32;
  result_t r = node->ReadValue(kTypeMarker, marker, 0);
  if (failed(r)) {
    *errorText = std::string("Can't read '") + kTypeMarker + "': " + frameworkText(r);
    return r;
  }
  const StructMetaInfo* info = nullptr;
  r = findInfo(static_cast<uint32_t>(marker.bits), &info, errorText);
  if (failed(r)) return r;
  std::shared_ptr<SerializableStruct> created = info->create();
  r = readFields(node, *info, *created, errorText);
  if (failed(r)) return r;
  *typeId = info->typeId;
  *object = std::move(created);
  return errors::kOk;
}

result_t StructSerializer::Serialize(uint32_t typeId, const SerializableStruct& object, IStorage* node) {
  if (!node) return errors::kInvalidArgument;
  const StructMetaInfo* info = nullptr;
  std::string ignored;
  result_t r = findInfo(typeId, &info, &ignored);
  if (failed(r)) return r;
  r = node->WriteValue(kTypeMarker, ValueDescriptor::ofUInt32(typeId), 0);
  if (failed(r)) return r;
  // The field table locates members through mutable references only.
  return writeFields(node, *info, const_cast<SerializableStruct&>(object));
}

}  // namespace velk

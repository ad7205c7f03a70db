// Reads and writes structures described by meta information as storage
// nodes: a "unique_id" value naming the type, one value per field, a child
// node per structure field.
#pragma once

#include <memory>
#include <string>

#include "schedule/struct_meta_info.h"
#include "velk/storage.h"

namespace velk {

struct IStructSerializer : IObject {
  static constexpr iid_t IID = 0x7A18C4E3;
  // Creates the object named by the node's "unique_id" and fills each field
  // that has a value of its name. An unknown type gives kMetaInfoNotFound;
  // every failure also describes itself in `errorText`.
  virtual result_t Deserialize(IStorage* node, std::shared_ptr<SerializableStruct>* object, uint32_t* typeId,
                               std::string* errorText) = 0;
  // Writes "unique_id" and every field of `object`, of type `typeId`.
  virtual result_t Serialize(uint32_t typeId, const SerializableStruct& object, IStorage* node) = 0;
};

class StructSerializer : public ObjectBase<IStructSerializer> {
 public:
  explicit StructSerializer(Ref<IStructMetaInfoRegistry> registry) : registry_(std::move(registry)) {}

  result_t Deserialize(IStorage* node, std::shared_ptr<SerializableStruct>* object, uint32_t* typeId,
                       std::string* errorText) override;
  result_t Serialize(uint32_t typeId, const SerializableStruct& object, IStorage* node) override;

 private:
  result_t findInfo(uint32_t typeId, const StructMetaInfo** info, std::string* errorText);

  Ref<IStructMetaInfoRegistry> registry_;
};

}  // namespace velk

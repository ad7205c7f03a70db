// The framework service that makes structure serializers over a registry of
// meta information.
#pragma once

#include "schedule/struct_serializer.h"
#include "velk/service_locator.h"

namespace velk {

constexpr clsid_t kSerializerFactoryClassId = 0x66053A85;

struct ISerializerFactory : IObject {
  static constexpr iid_t IID = 0xE2F30FB9;
  virtual result_t CreateSerializer(IStructMetaInfoRegistry* registry, IStructSerializer** out) = 0;
};

class SerializerFactory : public ObjectBase<ISerializerFactory> {
 public:
  explicit SerializerFactory(IServiceLocator*) {}
  result_t CreateSerializer(IStructMetaInfoRegistry* registry, IStructSerializer** out) override;
};

}  // namespace velk

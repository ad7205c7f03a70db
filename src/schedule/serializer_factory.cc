#include "schedule/serializer_factory.h"

namespace velk {

result_t SerializerFactory::CreateSerializer(IStructMetaInfoRegistry* registry, IStructSerializer** out) {
  if (!out) return errors::kInvalidArgument;
  *out = nullptr;
  if (!registry) return errors::kInvalidArgument;
  Ref<IStructSerializer> serializer = make<StructSerializer>(Ref<IStructMetaInfoRegistry>(registry));
  *out = serializer.detach();
  return errors::kOk;
}

}  // namespace velk

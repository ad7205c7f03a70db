#include "schedule/values_free_storage_factory.h"

#include "schedule/values_free_storage.h"

namespace velk {

result_t ValuesFreeStorageFactory::CreateStorage(IStorage* node, IStorage** out) {
  if (!out) return errors::kInvalidArgument;
  *out = nullptr;
  if (!node) return errors::kInvalidArgument;
  *out = make<ValuesFreeStorage>(Ref<IStorage>(node)).detach();
  return errors::kOk;
}

}  // namespace velk

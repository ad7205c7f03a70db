#include "schedule/compiler_factory_table.h"

#include "schedule/serializer_factory.h"
#include "schedule/values_free_storage_factory.h"

namespace app_core {

velk::result_t compilerFactoryTable(velk::IServiceLocator*, velk::clsid_t clsid, velk::IObjectFactory** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  velk::Ref<velk::IObjectFactory> factory;
  if (clsid == velk::kSerializerFactoryClassId)
    factory = velk::make<velk::SimpleObjectFactory<velk::SerializerFactory>>();
  else if (clsid == velk::kValuesFreeStorageFactoryClassId)
    factory = velk::make<velk::SimpleObjectFactory<velk::ValuesFreeStorageFactory>>();
  else
    return velk::errors::kNotImplemented;
  *out = factory.detach();
  return velk::errors::kOk;
}

}  // namespace app_core

#include "kv/key_value_factory_table.h"

#include "kv/key_value_data_source_factory.h"
#include "kv/key_value_storage_manager.h"
#include "kv/secure_key_value_storage_factory_with_settings.h"

namespace data_storage {
namespace {

template <class T>
velk::result_t factoryOf(velk::IObjectFactory** out) {
  *out = velk::make<velk::SimpleObjectFactory<T>>().detach();
  return velk::errors::kOk;
}

}  // namespace

velk::result_t keyValueFactoryTable(velk::IServiceLocator*, velk::clsid_t clsid, velk::IObjectFactory** out) {
  *out = nullptr;
  switch (clsid) {
    case class_ids::kKeyValueStorageManager: return factoryOf<KeyValueStorageManager>(out);
    case class_ids::kKeyValueStorageFactoryWithSettings: return factoryOf<KeyValueStorageFactoryWithSettings>(out);
    case class_ids::kSecureKeyValueStorageFactoryWithSettings:
      return factoryOf<SecureKeyValueStorageFactoryWithSettings>(out);
    case class_ids::kKeyValueDataSourceFactory: return factoryOf<KeyValueDataSourceFactory>(out);
    default: return velk::errors::kNotImplemented;
  }
}

}  // namespace data_storage

#include "kv/key_value_factory_table.h"

namespace data_storage {

velk::result_t keyValueFactoryTable(velk::IServiceLocator*, velk::clsid_t, velk::IObjectFactory** out) {
  *out = nullptr;
  return velk::errors::kNotImplemented;
}

}  // namespace data_storage

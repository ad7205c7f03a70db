// A named source of a store: the name is a database path, the flags choose
// an in-memory copy or the secure factory's class.
#pragma once

#include <string>

#include "kv/key_value_factory_interfaces.h"
#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace data_storage {

class KeyValueDataSource : public velk::ObjectBase<IKeyValueDataSource> {
 public:
  KeyValueDataSource(velk::Ref<velk::ITracer> tracer, velk::Ref<velk::IServiceLocator> locator, std::string name,
                     uint32_t flags);

  velk::result_t CreateStorage(IIndexedKeyValueStorage** out) override;

 private:
  velk::Ref<IKeyValueStorageFactory> factory(uint32_t qualifier);

  velk::Ref<velk::ITracer> tracer_;
  velk::Ref<velk::IServiceLocator> locator_;
  std::string name_;
  uint32_t flags_;
};

}  // namespace data_storage

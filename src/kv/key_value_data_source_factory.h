// Makes data sources that obtain their stores through the service locator.
#pragma once

#include "kv/key_value_factory_interfaces.h"
#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace data_storage {

class KeyValueDataSourceFactory : public velk::ObjectBase<IKeyValueDataSourceFactory> {
 public:
  explicit KeyValueDataSourceFactory(velk::IServiceLocator* locator);

  velk::result_t CreateDataSource(const std::string& name, uint32_t flags, IKeyValueDataSource** out) override;

 private:
  velk::Ref<velk::ITracer> tracer_;
  velk::Ref<velk::IServiceLocator> locator_;
};

}  // namespace data_storage

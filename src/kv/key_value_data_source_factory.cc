#include "kv/key_value_data_source_factory.h"

#include "kv/key_value_data_source.h"
#include "kv/operation_guard.h"

namespace data_storage {

KeyValueDataSourceFactory::KeyValueDataSourceFactory(velk::IServiceLocator* locator)
    : tracer_(velk::getService<velk::ITracer>(locator)), locator_(locator) {}

velk::result_t KeyValueDataSourceFactory::CreateDataSource(const std::string& name, uint32_t flags,
                                                           IKeyValueDataSource** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), velk::trace_level::kImportant, "Creating data source " + quoted(name));
    *out = velk::make<KeyValueDataSource>(tracer_, locator_, name, flags).detach();
    kvTrace(tracer_.get(), velk::trace_level::kInfo, "Create data source succeeded for " + quoted(name));
    return velk::errors::kOk;
  });
}

}  // namespace data_storage

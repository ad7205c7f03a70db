#include "harness.h"

namespace app_core::testing {

Harness::Harness() {
  serializer = createScheduleSerializer(velk::make<velk::SerializerFactory>(nullptr).get());
  adapters = velk::make<velk::ValuesFreeStorageFactory>(nullptr);
}

void Harness::read(const std::string& xml, const std::string& file) {
  auto root = parseTestXml(xml, file);
  readConfiguration(reporter.get(), root.get(), {serializer.get(), adapters.get()}, source);
}

ConfigurationModel Harness::build() { return buildModel(source, reporter.get()); }

}  // namespace app_core::testing

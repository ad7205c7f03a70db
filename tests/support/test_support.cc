#include "test_support.h"

namespace app_core::testing {

std::vector<std::string> RecordingReporter::of(char kind) const {
  std::vector<std::string> selected;
  for (const std::string& line : lines)
    if (line[0] == kind) selected.push_back(line);
  return selected;
}

void RecordingReporter::add(char kind, helpers::IFileLocation* location, std::string_view text) {
  lines.push_back(std::string(1, kind) + " " + (location ? helpers::locationText(location) : "-") + ": " +
                  std::string(text));
}

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

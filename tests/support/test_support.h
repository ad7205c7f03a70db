// A reporter that records diagnostics and a harness that reads XML text
// through the configuration reader and builds the model.
#pragma once

#include <string>
#include <vector>

#include "front/configuration_reader.h"
#include "front/model_builder.h"
#include "schedule/schedule_serializer.h"
#include "schedule/serializer_factory.h"
#include "schedule/values_free_storage_factory.h"
#include "test_storage.h"

namespace app_core::testing {

// Each diagnostic as "E|W|I|M <location>: <text>" (location "-" when none).
class RecordingReporter : public velk::ObjectBase<helpers::StorageErrorReporter> {
 public:
  void ReportMessage(std::string_view text) override { add('M', nullptr, text); }
  void ReportError(helpers::IFileLocation* l, std::string_view text) override { add('E', l, text); }
  void ReportWarning(helpers::IFileLocation* l, std::string_view text) override { add('W', l, text); }
  void ReportInfo(helpers::IFileLocation* l, std::string_view text) override { add('I', l, text); }

  std::vector<std::string> lines;
  // The lines of one kind only.
  std::vector<std::string> of(char kind) const;

 private:
  void add(char kind, helpers::IFileLocation* location, std::string_view text);
};

class Harness {
 public:
  Harness();
  // Reads one document into the shared source configuration.
  void read(const std::string& xml, const std::string& file = "a.xml");
  ConfigurationModel build();

  velk::Ref<RecordingReporter> reporter = velk::make<RecordingReporter>();
  SourceConfiguration source;
  velk::Ref<velk::IStructSerializer> serializer;
  velk::Ref<velk::IValuesFreeStorageFactory> adapters;
};

}  // namespace app_core::testing

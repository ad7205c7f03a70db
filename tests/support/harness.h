// A harness that reads XML text through the configuration reader, as the
// compiler reads its input, and builds the model.
#pragma once

#include <string>

#include "front/configuration_reader.h"
#include "front/model_builder.h"
#include "recording_reporter.h"
#include "schedule/schedule_serializer.h"
#include "schedule/serializer_factory.h"
#include "schedule/values_free_storage_factory.h"
#include "test_node.h"

namespace app_core::testing {

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

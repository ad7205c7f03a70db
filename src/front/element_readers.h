// The readers of the individual configuration elements.
#pragma once

#include "front/configuration_reader.h"
#include "front/element_reading.h"

namespace app_core {

struct ReaderContext {
  helpers::StorageErrorReporter* reporter;
  ScheduleReadingContext schedules;
};

using Element = helpers::IXmlFileStorage;

LocationRef locationOf(Element* node);

// `given`, or, when the attribute was left out, the identifier computed from
// the name, reported as information.
uint32_t identifierOrCrc(const ReaderContext& context, Element* node, std::string_view attribute,
                         const std::optional<uint32_t>& given, const std::string& name);

// configuration_reader.cc
SourceLinkList readLinkList(const ReaderContext& context, Element* node, std::string_view ownerAttribute);
SourceAccessPoint readAccessPoint(const ReaderContext& context, Element* node);
SourceHost readHost(const ReaderContext& context, Element* node);
void readUpdateCategories(const ReaderContext& context, Element* node,
                          std::vector<SourceUpdateCategory>& categories);
void readAssembly(const ReaderContext& context, Element* node, std::vector<SourceAssembly>& assemblies);
void readComponent(const ReaderContext& context, Element* node, std::vector<SourceComponent>& components);

// service_reader.cc
SourceService readService(const ReaderContext& context, Element* node);
SourceDependency readDependency(const ReaderContext& context, Element* node);
RetainedNode readServiceSettings(const ReaderContext& context, Element* node);
void readRootSettings(const ReaderContext& context, Element* node, SourceConfiguration& source);

// task_reader.cc
SourceTaskType readTaskType(const ReaderContext& context, Element* node);
SourceMonitoringTask readMonitoringTask(const ReaderContext& context, Element* node);
SourceOnDemandTask readOnDemandTask(const ReaderContext& context, Element* node);
SourceTaskSettings readTaskSettings(const ReaderContext& context, Element* node);

}  // namespace app_core

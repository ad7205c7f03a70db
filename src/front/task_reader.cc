#include "front/element_readers.h"
#include "velk/exception.h"

namespace app_core {
namespace {

constexpr velk::SourcePos kScheduleAdapterPos = {"components/vorn_config_compiler/source/reader", 312};

SourceTypedInterface readTypedInterface(const ReaderContext& context, Element* node) {
  SourceTypedInterface entry{locationOf(node), 0, 0};
  AttributeTable attributes = {
      required("typeid", kinds::kNumber, entry.typeId),
      required("iid", kinds::kNumber, entry.iid),
  };
  readAttributes(context.reporter, node, attributes);
  return entry;
}

RetainedNode retain(Element* node) { return {NodeRef(node), locationOf(node)}; }

// The children that task types and monitoring tasks share.
template <class Record>
ChildTable taskChildren(const ReaderContext& context, Record& record) {
  helpers::StorageErrorReporter* reporter = context.reporter;
  return {
      {"settings",
       [&context, &record, reporter](Element* n) {
         if (acceptSingle(reporter, n, "settings", record.settings))
           record.settings = readTaskSettings(context, n);
       }},
      {"quarn_settings",
       [&record, reporter](Element* n) {
         if (acceptSingle(reporter, n, "quarn_settings", record.quarnSettings))
           record.quarnSettings = retain(n);
       }},
      {"statistics", [&](Element* n) { record.statistics.push_back(readTypedInterface(context, n)); }},
      {"request", [&](Element* n) { record.requests.push_back(readTypedInterface(context, n)); }},
      {"event", [&](Element* n) { record.events.push_back(readTypedInterface(context, n)); }},
      {"depends", [&](Element* n) { record.dependencies.push_back(readDependency(context, n)); }},
  };
}

void readSchedule(const ReaderContext& context, Element* node, std::optional<LocatedSchedule>& slot) {
  if (!acceptSingle(context.reporter, node, "schedule", slot)) return;
  velk::Ref<velk::IStorage> adapted;
  velk::IValuesFreeStorageFactory* factory = context.schedules.adapterFactory;
  velk::checkResult(factory ? factory->CreateStorage(node, adapted.put()) : velk::errors::kNotInitialized,
                    kScheduleAdapterPos);
  Schedule schedule;
  std::string errorText;
  velk::result_t r = context.schedules.serializer ? deserializeSchedule(context.schedules.serializer,
                                                                        adapted.get(), schedule, errorText)
                                                  : velk::errors::kNotInitialized;
  if (r == velk::errors::kMetaInfoNotFound)
    context.reporter->ReportError(node->GetLocation(), "Unknown schedule type");
  else if (velk::failed(r))
    context.reporter->ReportError(node->GetLocation(), "Deserialization error: " + errorText);
  else
    slot = LocatedSchedule{std::move(schedule), locationOf(node)};
}

}  // namespace

SourceTaskType readTaskType(const ReaderContext& context, Element* node) {
  SourceTaskType type;
  type.location = locationOf(node);
  AttributeTable attributes = {
      required("name", kinds::kString, type.name),
      required("component", kinds::kString, type.component),
  };
  readAttributes(context.reporter, node, attributes);
  readChildren(context.reporter, node, taskChildren(context, type));
  return type;
}

SourceMonitoringTask readMonitoringTask(const ReaderContext& context, Element* node) {
  SourceMonitoringTask task;
  task.location = locationOf(node);
  AttributeTable attributes = {
      required("name", kinds::kString, task.name),
      required("component", kinds::kString, task.component),
      optional("trace_prefix", kinds::kString, task.tracerPrefix),
      optional("is_start_allowed", kinds::kBoolean, task.startAllowed),
      optional("quarn_registry_path", kinds::kRegistryPath, task.quarnRegistryPath),
  };
  readAttributes(context.reporter, node, attributes);
  readChildren(context.reporter, node, taskChildren(context, task));
  return task;
}

SourceOnDemandTask readOnDemandTask(const ReaderContext& context, Element* node) {
  SourceOnDemandTask task;
  task.location = locationOf(node);
  AttributeTable attributes = {
      required("name", kinds::kString, task.name),
      required("type", kinds::kString, task.type),
      optional("trace_prefix", kinds::kString, task.tracerPrefix),
      optional("quarn_registry_path", kinds::kRegistryPath, task.quarnRegistryPath),
  };
  readAttributes(context.reporter, node, attributes);
  helpers::StorageErrorReporter* reporter = context.reporter;
  readChildren(reporter, node,
               {{"schedule", [&](Element* n) { readSchedule(context, n, task.schedule); }},
                {"settings",
                 [&](Element* n) {
                   if (acceptSingle(reporter, n, "settings", task.settings))
                     task.settings = readTaskSettings(context, n);
                 }},
                {"quarn_settings", [&](Element* n) {
                   if (acceptSingle(reporter, n, "quarn_settings", task.quarnSettings))
                     task.quarnSettings = retain(n);
                 }}});
  return task;
}

}  // namespace app_core

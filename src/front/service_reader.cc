#include "front/compiler_messages.h"
#include "front/element_readers.h"

namespace app_core {
namespace {

// The key whose services may still carry `autostart` without a warning.
constexpr uint32_t kAutostartExemptKey = 0x6084D671;

void applyServiceRules(const ReaderContext& context, Element* node, const AttributeTable& attributes,
                       SourceService& service) {
  helpers::StorageErrorReporter* reporter = context.reporter;
  helpers::IFileLocation* location = node->GetLocation();
  if (service.autostart && service.key != kAutostartExemptKey)
    reporter->ReportWarning(location, descriptorNamed(attributes, "autostart").deprecationWarning());
  if (service.createServiceDuringUpdate) {
    if (!service.createOnUpdate) service.createOnUpdate = service.createServiceDuringUpdate;
    reporter->ReportWarning(location,
                            descriptorNamed(attributes, "create_service_during_update").deprecationWarning());
  }
  if (service.accessibility) {
    if (!service.lookupPriority)
      reporter->ReportWarning(location, descriptorNamed(attributes, "accessibility").deprecationWarning());
    else
      reporter->ReportError(location,
                            "Both 'accessibility' and 'lookup_priority' attributes used simultaneously. "
                            "You should remove 'accessibility'.");
  }
}

// Reads a deprecated `unique_id`, which only draws a warning.
void readUniqueIdOnly(const ReaderContext& context, Element* node, AttributeTable attributes = {}) {
  std::optional<uint32_t> uniqueId;
  attributes.push_back(deprecated(optional("unique_id", kinds::kNumber, uniqueId)));
  readAttributes(context.reporter, node, attributes);
  if (uniqueId) context.reporter->ReportWarning(node->GetLocation(), attributes.back().deprecationWarning());
}

}  // namespace

SourceService readService(const ReaderContext& context, Element* node) {
  SourceService service;
  service.location = locationOf(node);
  std::optional<uint32_t> key;
  std::optional<std::string> component;
  AttributeTable attributes = {
      required("name", kinds::kString, service.name),
      optional("key", kinds::kNumber, key),
      optional("component", kinds::kString, component),
      optional("trace_prefix", kinds::kString, service.tracerPrefix),
      deprecated(optional("autostart", kinds::kBoolean, service.autostart)),
      optional("release_timeout", kinds::kTimeout, service.releaseTimeout),
      optional("bases_category", kinds::kString, service.basesCategory),
      optional("category_v_1_3", kinds::kString, service.category),
      deprecated(optional("accessibility", kinds::kAccessibility, service.accessibility),
                 "use 'lookup_priority' instead"),
      optional("create_on_update", kinds::kBoolean, service.createOnUpdate),
      deprecated(optional("create_service_during_update", kinds::kBoolean, service.createServiceDuringUpdate),
                 "use 'create_on_update' instead."),
      optional("lookup_priority", kinds::kPriority, service.lookupPriority),
  };
  readAttributes(context.reporter, node, attributes);
  service.key = identifierOrCrc(context, node, "key", key, service.name);
  if (component) {
    service.component = *component;
  } else {
    service.component = service.name;
    context.reporter->ReportInfo(node->GetLocation(), "Using component=" + service.name + " (by default)");
  }
  applyServiceRules(context, node, attributes, service);
  readChildren(context.reporter, node,
               {{"settings",
                 [&](Element* settings) {
                   if (acceptSingle(context.reporter, settings, "settings", service.settings))
                     service.settings = readServiceSettings(context, settings);
                 }},
                {"depends", [&](Element* depends) {
                   service.dependencies.push_back(readDependency(context, depends));
                 }}});
  return service;
}

SourceDependency readDependency(const ReaderContext& context, Element* node) {
  SourceDependency dependency{locationOf(node), {}, {}, {}};
  AttributeTable attributes = {
      optional("name", kinds::kString, dependency.name),
      optional("key", kinds::kNumber, dependency.key),
      optional("access_point", kinds::kString, dependency.accessPoint),
  };
  readAttributes(context.reporter, node, attributes);
  return dependency;
}

RetainedNode readServiceSettings(const ReaderContext& context, Element* node) {
  readUniqueIdOnly(context, node);
  return {NodeRef(node), locationOf(node)};
}

SourceSettingsLevel readSettingsLevel(const ReaderContext& context, Element* node) {
  SourceSettingsLevel level{locationOf(node), 0, NodeRef(node)};
  readUniqueIdOnly(context, node, {required("name", kinds::kLevel, level.level)});
  return level;
}

SourceTaskSettings readTaskSettings(const ReaderContext& context, Element* node) {
  SourceTaskSettings settings{locationOf(node), {}, {}};
  readChildren(
      context.reporter, node,
      {{"common", [&](Element* common) { settings.common = readServiceSettings(context, common); }},
       {"level", [&](Element* level) { settings.levels.push_back(readSettingsLevel(context, level)); }}});
  if (!settings.common) context.reporter->ReportError(node->GetLocation(), "Expected: <common>");
  return settings;
}

void readRootSettings(const ReaderContext& context, Element* node, SourceConfiguration& source) {
  std::optional<std::string> service;
  std::optional<std::string> task;
  std::optional<std::string> entity;
  AttributeTable attributes = {
      optional("service", kinds::kString, service),
      optional("task", kinds::kString, task),
      deprecated(optional("entity", kinds::kString, entity),
                 "(treated as 'service'), use 'service' or 'task' instead"),
  };
  readAttributes(context.reporter, node, attributes);
  if (!service && !task && entity) {
    context.reporter->ReportWarning(node->GetLocation(), attributes.back().deprecationWarning());
    service = entity;
  }
  if (service.has_value() == task.has_value()) {
    context.reporter->ReportError(node->GetLocation(),
                                  "Expected only one of: " + descriptionList(attributes));
    return;
  }
  if (service)
    source.serviceSettings.push_back({locationOf(node), *service, NodeRef(node)});
  else
    source.taskSettings.push_back({locationOf(node), *task, readTaskSettings(context, node)});
}

}  // namespace app_core

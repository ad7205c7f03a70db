#include "front/configuration_reader.h"

#include "front/compiler_messages.h"
#include "front/element_readers.h"
#include "velk/crc32.h"

namespace app_core {
namespace {

constexpr std::string_view kTaskInterfaceName = "app_core.facade.ITask";
constexpr uint32_t kTaskInterfaceId = 0xA47BF9AF;

SourceLink readLink(const ReaderContext& context, Element* node) {
  SourceLink link{locationOf(node), {}};
  AttributeTable attributes = {required("name", kinds::kString, link.name)};
  readAttributes(context.reporter, node, attributes);
  return link;
}

SourceUpdateCategory readUpdateCategory(const ReaderContext& context, Element* node) {
  SourceUpdateCategory category{locationOf(node), {}, {}, {}, kStorageContainer, {}};
  std::optional<std::string> components;
  std::optional<std::string> path;
  AttributeTable attributes = {
      required("name", kinds::kString, category.name),
      optional("components", kinds::kString, components),
      optional("location", kinds::kCategoryLocation, path),
      required("container_type", kinds::kContainerType, category.containerType),
      optional("enabled", kinds::kBoolean, category.enabled),
  };
  readAttributes(context.reporter, node, attributes);
  category.components = components.value_or(category.name);
  if (path)
    category.path = *path;
  else if (category.containerType == kNativeFileSystem)
    category.path = "%Bases%";
  else
    category.path = "%Bases%\\" + category.name;
  return category;
}

SourceInterface readInterface(const ReaderContext& context, Element* node) {
  SourceInterface entry{locationOf(node), {}, 0};
  std::optional<uint32_t> iid;
  AttributeTable attributes = {
      required("name", kinds::kString, entry.name),
      optional("iid", kinds::kNumber, iid),
  };
  readAttributes(context.reporter, node, attributes);
  if (!iid && entry.name == kTaskInterfaceName) {
    // Known interfaces keep their published identifier.
    iid = kTaskInterfaceId;
    context.reporter->ReportInfo(node->GetLocation(),
                                 calculatedIdentifier("iid", kTaskInterfaceId, entry.name));
  }
  entry.iid = identifierOrCrc(context, node, "iid", iid, entry.name);
  return entry;
}

}  // namespace

LocationRef locationOf(Element* node) { return LocationRef(node->GetLocation()); }

uint32_t identifierOrCrc(const ReaderContext& context, Element* node, std::string_view attribute,
                         const std::optional<uint32_t>& given, const std::string& name) {
  if (given) return *given;
  uint32_t value = velk::crc32(name);
  context.reporter->ReportInfo(node->GetLocation(), calculatedIdentifier(attribute, value, name));
  return value;
}

SourceLinkList readLinkList(const ReaderContext& context, Element* node, std::string_view ownerAttribute) {
  SourceLinkList list{locationOf(node), {}, {}};
  AttributeTable attributes = {required(ownerAttribute, kinds::kString, list.owner)};
  readAttributes(context.reporter, node, attributes);
  readChildren(context.reporter, node,
               {{"link", [&](Element* link) { list.links.push_back(readLink(context, link)); }}});
  return list;
}

SourceAccessPoint readAccessPoint(const ReaderContext& context, Element* node) {
  SourceAccessPoint point{locationOf(node), 0, {}, {}, {}};
  AttributeTable attributes = {
      required("id", kinds::kNumber, point.id),
      required("name", kinds::kString, point.name),
      required("host", kinds::kString, point.host),
      required("authorization_service", kinds::kString, point.authorizationService),
  };
  readAttributes(context.reporter, node, attributes);
  return point;
}

SourceHost readHost(const ReaderContext& context, Element* node) {
  SourceHost host{locationOf(node), {}, 0, false};
  AttributeTable attributes = {
      required("name", kinds::kString, host.name),
      required("id", kinds::kNumber, host.id),
      required("prototype", kinds::kBoolean, host.prototype),
  };
  readAttributes(context.reporter, node, attributes);
  return host;
}

void readUpdateCategories(const ReaderContext& context, Element* node,
                          std::vector<SourceUpdateCategory>& categories) {
  readChildren(context.reporter, node, {{"update_category", [&](Element* category) {
                                           categories.push_back(readUpdateCategory(context, category));
                                         }}});
}

void readAssembly(const ReaderContext& context, Element* node, std::vector<SourceAssembly>& assemblies) {
  SourceAssembly assembly{locationOf(node), {}, {}, {}, {}};
  AttributeTable attributes = {
      required("name", kinds::kString, assembly.name),
      required("module", kinds::kString, assembly.module),
      optional("module_category", kinds::kString, assembly.moduleCategory),
  };
  readAttributes(context.reporter, node, attributes);
  readChildren(context.reporter, node,
               {{"component", [&](Element* component) {
                   std::string name;
                   AttributeTable reference = {required("name", kinds::kString, name)};
                   readAttributes(context.reporter, component, reference);
                   assembly.componentNames.push_back(std::move(name));
                 }}});
  if (assembly.componentNames.empty()) {
    context.reporter->ReportWarning(node->GetLocation(), "Assembly has empty components list");
    return;
  }
  assemblies.push_back(std::move(assembly));
}

void readComponent(const ReaderContext& context, Element* node, std::vector<SourceComponent>& components) {
  SourceComponent component{locationOf(node), {}, 0, {}, {}, {}, {}};
  std::optional<uint32_t> clsid;
  AttributeTable attributes = {
      required("name", kinds::kString, component.name),
      optional("clsid", kinds::kNumber, clsid),
      optional("settings_typeid", kinds::kNumber, component.settingsTypeId),
      optional("construct_iid", kinds::kNumber, component.constructIid),
      optional("settings_iid", kinds::kNumber, component.settingsIid),
  };
  readAttributes(context.reporter, node, attributes);
  component.clsid = identifierOrCrc(context, node, "clsid", clsid, component.name);
  if (!component.constructIid && (component.settingsTypeId || component.settingsIid)) {
    context.reporter->ReportError(node->GetLocation(), "Missing 'construct_iid' attribute.");
    return;
  }
  if (component.constructIid && !component.settingsTypeId) {
    context.reporter->ReportError(node->GetLocation(), "Missing 'settings_typeid' attribute.");
    return;
  }
  readChildren(context.reporter, node, {{"interface", [&](Element* entry) {
                                           component.interfaces.push_back(readInterface(context, entry));
                                         }}});
  components.push_back(std::move(component));
}

void readConfiguration(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* root,
                       const ScheduleReadingContext& schedules, SourceConfiguration& source) {
  ReaderContext context{reporter, schedules};
  auto& s = source;
  const auto& c = context;
  ChildTable table = {
      {"group", [&](Element* n) { s.groups.push_back(readLinkList(c, n, "name")); }},
      {"access_point", [&](Element* n) { s.accessPoints.push_back(readAccessPoint(c, n)); }},
      {"access_point_services",
       [&](Element* n) { s.accessPointServices.push_back(readLinkList(c, n, "access_point")); }},
      {"host", [&](Element* n) { s.hosts.push_back(readHost(c, n)); }},
      {"host_services", [&](Element* n) { s.hostServices.push_back(readLinkList(c, n, "host")); }},
      {"host_access_points", [&](Element* n) { s.hostAccessPoints.push_back(readLinkList(c, n, "host")); }},
      {"updatable_categories_config", [&](Element* n) { readUpdateCategories(c, n, s.updateCategories); }},
      {"assembly", [&](Element* n) { readAssembly(c, n, s.assemblies); }},
      {"component", [&](Element* n) { readComponent(c, n, s.components); }},
      {"service", [&](Element* n) { s.services.push_back(readService(c, n)); }},
      {"task_type", [&](Element* n) { s.taskTypes.push_back(readTaskType(c, n)); }},
      {"on_demand_task", [&](Element* n) { s.onDemandTasks.push_back(readOnDemandTask(c, n)); }},
      {"monitoring_task", [&](Element* n) { s.monitoringTasks.push_back(readMonitoringTask(c, n)); }},
      {"settings", [&](Element* n) { readRootSettings(c, n, s); }},
  };
  // The root holds every included file's elements: a document goes as soon
  // as its last element is read, unless the model keeps some of it.
  readChildrenOnce(reporter, root, table);
}

}  // namespace app_core

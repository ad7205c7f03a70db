#include "writers/db/task_type_registry.h"

#include <vector>

#include "writers/db/node_writing.h"
#include "writers/db/settings_record.h"

namespace app_core {

using velk::result_t;

namespace {

result_t writeTypedInterfaces(velk::IStorage* item, std::string_view listName,
                              const std::vector<TypedInterface>& entries) {
  if (entries.empty()) return velk::errors::kOk;
  velk::Ref<velk::IStorage> list;
  result_t r = createChild(item, listName, list);
  for (size_t i = 0; i < entries.size() && velk::succeeded(r); ++i) {
    velk::Ref<velk::IStorage> entry;
    r = createChild(list.get(), "item", entry);
    if (velk::succeeded(r)) r = createTextChild(entry.get(), "serid", velk::hexId(entries[i].typeId));
    if (velk::succeeded(r)) r = createTextChild(entry.get(), "iid", velk::hexId(entries[i].iid));
  }
  return r;
}

std::string levelNodeName(uint32_t level) {
  return level == kCommonSettingsLevel ? "reset" : "level" + std::to_string(level);
}

// The sources' settings nodes are copied as they stand, attributes as values.
result_t writeSettings(velk::IStorage* item, const TaskSettings& settings) {
  velk::Ref<velk::IStorage> node;
  result_t r = createChild(item, "settings", node);
  for (size_t i = 0; i < settings.levels.size() && velk::succeeded(r); ++i) {
    velk::Ref<velk::IStorage> level;
    r = openOrCreateChild(node.get(), levelNodeName(settings.levels[i].level), level);
    if (velk::succeeded(r)) r = copySettingsTree(settings.levels[i].node.get(), level.get());
    if (velk::succeeded(r)) r = writeUnsigned(level.get(), "unique_id", settings.settingsTypeId);
  }
  return r;
}

result_t writeDependencies(velk::IStorage* item, const std::vector<ModelDependency>& dependencies) {
  if (dependencies.empty()) return velk::errors::kOk;
  velk::Ref<velk::IStorage> list;
  result_t r = createChild(item, "depends", list);
  for (size_t i = 0; i < dependencies.size() && velk::succeeded(r); ++i)
    r = createTextChild(list.get(), "item", velk::hexId(dependencies[i].key));
  return r;
}

}  // namespace

result_t appendTaskTypeItem(velk::IStorage* root, const ConfigurationModel& model, const ModelTaskType& type,
                            velk::Ref<velk::IStorage>& item) {
  velk::Ref<velk::IStorage> taskTypes;
  result_t r = openOrCreateChild(root, "task_types", taskTypes);
  if (velk::succeeded(r)) r = createChild(taskTypes.get(), "item", item);
  if (velk::failed(r)) return r;
  velk::IStorage* node = item.get();
  if (velk::failed(r = createTextChild(node, "type", type.name))) return r;
  if (velk::failed(r = createTextChild(node, "kind", type.monitoring ? "monitor" : "on-demand"))) return r;
  velk::Ref<velk::IStorage> level;
  if (velk::failed(r = createChild(node, "default_settings_level", level))) return r;
  if (velk::failed(r = writeSigned(level.get(), "", 0))) return r;
  if (velk::failed(r = writeTypedInterfaces(node, "statistics", type.statistics))) return r;
  if (velk::failed(r = writeTypedInterfaces(node, "events", type.events))) return r;
  if (velk::failed(r = writeTypedInterfaces(node, "requests", type.requests))) return r;
  if (velk::failed(r = createTextChild(node, "clsid", velk::hexId(model.componentOf(type).clsid)))) return r;
  if (type.settings && velk::failed(r = writeSettings(node, *type.settings))) return r;
  return writeDependencies(node, type.dependencies);
}

}  // namespace app_core

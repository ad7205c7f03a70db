#include <boost/algorithm/string/classification.hpp>
#include <boost/algorithm/string/split.hpp>

#include "front/compiler_messages.h"
#include "front/model_builder_steps.h"
#include "front/no_file_settings.h"

namespace app_core {
namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
constexpr uint32_t kMetaInterfaceIds[] = {0x2D08D87C, 0x579C851E, 0xA53230CB, 0xA96F285B};
constexpr uint32_t kMetaExemptClassIds[] = {0xD7F83506, 0x59E90960};

std::vector<std::string> splitRegistryPath(const std::optional<std::string>& path) {
  std::vector<std::string> parts;
  if (path) boost::split(parts, *path, boost::is_any_of("/"));
  return parts;
}

template <class Container>
bool contains(const Container& values, uint32_t value) {
  return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

}  // namespace

std::vector<TypedInterface> ModelBuilder::acceptDistinct(const std::string& typeName, std::string_view kind,
                                                         const std::vector<SourceTypedInterface>& entries) {
  std::vector<TypedInterface> accepted;
  std::vector<const SourceTypedInterface*> acceptedFrom;
  std::unordered_map<uint32_t, size_t> byIid;
  std::unordered_map<uint32_t, size_t> byTypeId;
  for (const SourceTypedInterface& entry : entries) {
    size_t earlier = kNone;
    if (auto found = byIid.find(entry.iid); found != byIid.end()) earlier = found->second;
    if (auto found = byTypeId.find(entry.typeId); found != byTypeId.end())
      earlier = std::min(earlier, found->second);
    if (earlier != kNone) {
      error(entry.location, "'" + typeName + "' has " + std::string(kind) +
                                " with identical field 'iid' or 'serid' at " +
                                fileAndLine(acceptedFrom[earlier]->location.get()));
      continue;
    }
    byIid.emplace(entry.iid, accepted.size());
    byTypeId.emplace(entry.typeId, accepted.size());
    accepted.push_back({entry.typeId, entry.iid});
    acceptedFrom.push_back(&entry);
  }
  return accepted;
}

void ModelBuilder::acceptInterfaces(const std::string& typeName, const SourceTaskInterfaces& source,
                                    ModelTaskType& type) {
  type.statistics = acceptDistinct(typeName, "statistics", source.statistics);
  type.events = acceptDistinct(typeName, "events", source.events);
  type.requests = acceptDistinct(typeName, "requests", source.requests);
}

std::optional<TaskSettings> ModelBuilder::taskSettings(const SourceTaskSettings& settings,
                                                       const ModelComponent& component) {
  if (!hasSettingsType(component, settings.location)) return std::nullopt;
  TaskSettings result{*component.settingsTypeId, {}};
  if (settings.common) result.levels.push_back({settings.common->node, kCommonSettingsLevel});
  for (const SourceSettingsLevel& level : settings.levels) result.levels.push_back({level.node, level.level});
  return result;
}

void ModelBuilder::addTaskTypes() {
  taskTypeOfSource_.assign(source_.taskTypes.size(), kNone);
  for (size_t i = 0; i < source_.taskTypes.size(); ++i) {
    const SourceTaskType& type = source_.taskTypes[i];
    if (const ModelTaskType* same = model_.taskTypes.find(type.name)) {
      error(type.location, alreadyDefined(type.name, same->location.get()));
      continue;
    }
    size_t componentIndex = model_.components.indexOf(type.component);
    if (componentIndex == kNone) {
      error(type.location, undefinedReference("component", type.component));
      continue;
    }
    ModelTaskType record;
    record.name = type.name;
    record.component = componentIndex;
    record.location = type.location;
    acceptInterfaces(type.name, type, record);
    ModelComponent& component = model_.components[componentIndex];
    if (type.settings) record.settings = taskSettings(*type.settings, component);
    record.quarnSettings = type.quarnSettings;
    taskTypeOfSource_[i] = model_.taskTypes.add(std::move(record));
    ++component.taskTypeCount;
  }
}

void ModelBuilder::addOnDemandTasks() {
  for (const SourceOnDemandTask& task : source_.onDemandTasks) {
    if (const ModelTask* same = model_.tasks.find(task.name)) {
      error(task.location, alreadyDefined(task.name, same->location.get()));
      continue;
    }
    size_t typeIndex = model_.taskTypes.indexOf(task.type);
    if (typeIndex == kNone) {
      error(task.location, undefinedReference("task type", task.type));
      continue;
    }
    ModelTask record;
    record.name = task.name;
    record.taskType = typeIndex;
    record.tracerPrefix = task.tracerPrefix;
    record.quarnRegistryPath = splitRegistryPath(task.quarnRegistryPath);
    if (task.settings)
      record.settings = taskSettings(*task.settings, model_.componentOf(model_.taskTypes[typeIndex]));
    record.quarnSettings = task.quarnSettings;
    record.schedule = task.schedule;
    record.location = task.location;
    model_.tasks.add(std::move(record));
  }
}

void ModelBuilder::addMonitoringTasks() {
  monitoringTypeOfSource_.assign(source_.monitoringTasks.size(), kNone);
  for (size_t i = 0; i < source_.monitoringTasks.size(); ++i) {
    const SourceMonitoringTask& task = source_.monitoringTasks[i];
    if (const ModelTask* same = model_.tasks.find(task.name)) {
      error(task.location, alreadyDefined(task.name, same->location.get()));
      continue;
    }
    size_t componentIndex = model_.components.indexOf(task.component);
    if (componentIndex == kNone) {
      error(task.location, undefinedReference("component", task.component));
      continue;
    }
    if (const ModelTaskType* same = model_.taskTypes.find(task.name)) {
      error(task.location, alreadyDefined(task.name, same->location.get()));
      continue;
    }
    ModelTaskType type;
    type.name = task.name;
    type.component = componentIndex;
    type.monitoring = true;
    type.location = task.location;
    acceptInterfaces(task.name, task, type);
    ModelComponent& component = model_.components[componentIndex];
    ModelTask record;
    record.name = task.name;
    record.startAllowed = task.startAllowed.value_or(true);
    record.tracerPrefix = task.tracerPrefix;
    record.quarnRegistryPath = splitRegistryPath(task.quarnRegistryPath);
    if (task.settings) record.settings = taskSettings(*task.settings, component);
    record.quarnSettings = task.quarnSettings;
    record.location = task.location;
    record.taskType = model_.taskTypes.add(std::move(type));
    monitoringTypeOfSource_[i] = record.taskType;
    model_.tasks.add(std::move(record));
    ++component.taskTypeCount;
  }
}

void ModelBuilder::resolveAllDependencies() {
  for (size_t i = 0; i < source_.services.size(); ++i)
    if (serviceOfSource_[i] != kNone)
      model_.services[serviceOfSource_[i]].dependencies =
          resolveDependencies(source_.services[i].dependencies);
  for (size_t i = 0; i < source_.taskTypes.size(); ++i)
    if (taskTypeOfSource_[i] != kNone)
      model_.taskTypes[taskTypeOfSource_[i]].dependencies =
          resolveDependencies(source_.taskTypes[i].dependencies);
  for (size_t i = 0; i < source_.monitoringTasks.size(); ++i)
    if (monitoringTypeOfSource_[i] != kNone)
      model_.taskTypes[monitoringTypeOfSource_[i]].dependencies =
          resolveDependencies(source_.monitoringTasks[i].dependencies);
}

std::vector<ModelDependency> ModelBuilder::resolveDependencies(const std::vector<SourceDependency>& entries) {
  std::vector<ModelDependency> resolved;
  for (const SourceDependency& entry : entries)
    if (auto dependency = resolveDependency(entry)) resolved.push_back(std::move(*dependency));
  return resolved;
}

std::optional<ModelDependency> ModelBuilder::resolveDependency(const SourceDependency& entry) {
  if (!entry.key && !entry.name) {
    error(entry.location, "Missing both attributes 'key' and 'name', but at least one of them is required");
    return std::nullopt;
  }
  ModelDependency dependency;
  if (entry.accessPoint) {
    const ModelAccessPoint* point = model_.accessPoints.find(*entry.accessPoint);
    if (!point) {
      error(entry.location, undefinedReference("access_point", *entry.accessPoint));
      return std::nullopt;
    }
    dependency.accessPoint = point->id;
  }
  if (!entry.name) {
    dependency.key = *entry.key;
    return dependency;
  }
  const ModelService* service = model_.services.find(*entry.name);
  if (entry.key && service && service->key != *entry.key) {
    error(entry.location,
          "'key' value is different at 'depends' directive and service " + *entry.name + " declaration");
    return std::nullopt;
  }
  if (!entry.key && !service) {
    error(entry.location, "Found reference to undefined service " + *entry.name +
                              ". Note: you can specify 'key=\"0xhex\"' explicitly.");
    return std::nullopt;
  }
  dependency.key = entry.key ? *entry.key : service->key;
  dependency.name = *entry.name;
  return dependency;
}

void ModelBuilder::attachServiceSettings() {
  for (const SourceServiceSettings& settings : source_.serviceSettings) {
    ModelService* service = model_.services.find(settings.service);
    if (!service) {
      error(settings.location, undefinedReference("service", settings.service));
      continue;
    }
    if (service->settings) {
      error(settings.location, alreadyDefined("settings", service->settings->location.get()));
      continue;
    }
    const ModelComponent& component = model_.componentOf(*service);
    if (hasSettingsType(component, settings.location))
      service->settings = ServiceSettings{settings.node, settings.location, *component.settingsTypeId};
  }
}

void ModelBuilder::attachTaskSettings() {
  for (const SourceTaskSettingsRecord& settings : source_.taskSettings) {
    ModelTask* task = model_.tasks.find(settings.task);
    ModelTaskType* type = task ? nullptr : model_.taskTypes.find(settings.task);
    if (!task && !type) {
      error(settings.location, undefinedReference("task or task type", settings.task));
      continue;
    }
    const ModelComponent& component = model_.componentOf(task ? model_.taskTypeOf(*task) : *type);
    auto resolved = taskSettings(settings.content, component);
    if (!resolved) continue;
    (task ? task->settings : type->settings) = std::move(resolved);
  }
}

void ModelBuilder::attachDefaultSettings() {
  NoFileSettings defaults;
  for (ModelService& service : model_.services) {
    const ModelComponent& component = model_.componentOf(service);
    if (service.settings || !component.settingsTypeId) continue;
    warning(service.location,
            settingsNotFound("service", service.name, component.name, component.location.get()));
    service.settings = ServiceSettings{defaults.node(), defaults.location(), *component.settingsTypeId};
  }
  for (ModelTaskType& type : model_.taskTypes) {
    const ModelComponent& component = model_.componentOf(type);
    if (type.settings || type.monitoring || !component.settingsTypeId) continue;
    warning(type.location,
            settingsNotFound("task type", type.name, component.name, component.location.get()));
    type.settings = TaskSettings{*component.settingsTypeId, {{defaults.node(), kCommonSettingsLevel}}};
  }
  for (ModelTask& task : model_.tasks) {
    const ModelComponent& component = model_.componentOf(model_.taskTypeOf(task));
    if (task.settings || !component.settingsTypeId) continue;
    warning(task.location, settingsNotFound("task", task.name, component.name, component.location.get()));
    task.settings = TaskSettings{*component.settingsTypeId, {{defaults.node(), kCommonSettingsLevel}}};
  }
}

void ModelBuilder::warnMetaInterfaces() {
  for (const ModelComponent& component : model_.components) {
    if (component.serviceCount + component.taskTypeCount == 0 ||
        contains(kMetaExemptClassIds, component.clsid))
      continue;
    bool listsMeta = std::any_of(component.interfaces.begin(), component.interfaces.end(),
                                 [](uint32_t iid) { return contains(kMetaInterfaceIds, iid); });
    if (listsMeta)
      warning(component.location, "Component " + component.name +
                                      " has meta or upgrader interfaces and is inherited by service or task");
  }
}

}  // namespace app_core

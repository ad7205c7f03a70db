// The resolved and checked configuration that the output writers read.
// Records refer to each other by index into the model's lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "front/named_list.h"
#include "front/source_configuration.h"

namespace app_core {

constexpr uint32_t kLocalHostId = 1;
constexpr uint32_t kMainHostId = 2;  // the default host of services and tasks
constexpr uint32_t kCommonSettingsLevel = 0xFFFFFFFF;

struct ModelHost {
  std::string name;
  uint32_t id = 0;
  bool prototype = false;
  bool predefined = false;
  LocationRef location;  // null for the predefined hosts
};

struct ModelUpdateCategory {
  std::string name;
  std::string components;
  std::string path;
  uint32_t containerType = kStorageContainer;
  bool enabled = true;
  LocationRef location;
};

struct ModelAssembly {
  std::string name;
  std::string module;
  std::string moduleCategory;  // empty when not given
  LocationRef location;
};

struct ModelComponent {
  std::string name;
  uint32_t clsid = 0;
  std::optional<uint32_t> settingsTypeId;
  std::optional<uint32_t> constructIid;
  std::optional<uint32_t> settingsIid;
  std::vector<uint32_t> interfaces;
  size_t assembly = 0;
  uint32_t serviceCount = 0;
  uint32_t taskTypeCount = 0;
  LocationRef location;
};

struct ModelInterface {
  uint32_t iid = 0;
  std::string name;
  LocationRef location;  // of the first declaration
};

struct ModelDependency {
  uint32_t key = 0;
  uint32_t accessPoint = 0;  // 0: none
  std::string name;          // empty when only the key was given
};

struct ServiceSettings {
  NodeRef node;
  LocationRef location;
  uint32_t settingsTypeId = 0;
};

struct SettingsLevel {
  NodeRef node;
  uint32_t level = kCommonSettingsLevel;
};

// The common part (level kCommonSettingsLevel) first, then the levels.
struct TaskSettings {
  uint32_t settingsTypeId = 0;
  std::vector<SettingsLevel> levels;
};

struct ModelService {
  std::string name;
  uint32_t key = 0;
  size_t component = 0;
  uint32_t host = kMainHostId;
  uint32_t defaultAccessPoint = 0;
  std::optional<std::string> tracerPrefix;
  std::optional<uint32_t> timeout;
  std::optional<std::string> basesCategory;
  std::optional<std::string> category;
  uint32_t flags = 0;
  std::optional<ServiceSettings> settings;
  std::vector<ModelDependency> dependencies;
  LocationRef location;
};

struct ModelAccessPoint {
  std::string name;
  uint32_t id = 0;
  uint32_t host = 0;
  uint32_t authorizationServiceKey = 0;
  std::vector<uint32_t> serviceKeys;  // no duplicates, order of first addition
  LocationRef location;
};

struct TypedInterface {
  uint32_t typeId = 0;
  uint32_t iid = 0;
};

struct ModelTaskType {
  std::string name;
  size_t component = 0;
  bool monitoring = false;
  std::vector<TypedInterface> statistics;
  std::vector<TypedInterface> events;
  std::vector<TypedInterface> requests;
  std::optional<TaskSettings> settings;
  std::optional<RetainedNode> quarnSettings;
  std::vector<ModelDependency> dependencies;
  LocationRef location;
};

struct ModelTask {
  std::string name;
  size_t taskType = 0;
  uint32_t host = kMainHostId;
  bool startAllowed = true;  // the task's enabled flag in the outputs
  std::optional<std::string> tracerPrefix;
  std::vector<std::string> quarnRegistryPath;  // split at "/", empty parts kept
  std::optional<TaskSettings> settings;
  std::optional<RetainedNode> quarnSettings;
  std::optional<LocatedSchedule> schedule;
  LocationRef location;
};

struct ConfigurationModel {
  NamedList<ModelHost> hosts;
  std::vector<ModelUpdateCategory> updateCategories;  // by name
  std::vector<ModelAssembly> assemblies;
  NamedList<ModelComponent> components;
  std::vector<ModelInterface> interfaces;  // by identifier
  NamedList<ModelService> services;
  NamedList<ModelAccessPoint> accessPoints;
  NamedList<ModelTaskType> taskTypes;
  NamedList<ModelTask> tasks;

  // Binary searches in the sorted lists; null when absent.
  const ModelUpdateCategory* findUpdateCategory(std::string_view name) const;
  const ModelInterface* findInterface(uint32_t iid) const;

  const ModelComponent& componentOf(const ModelService& service) const {
    return components[service.component];
  }
  const ModelComponent& componentOf(const ModelTaskType& type) const { return components[type.component]; }
  const ModelTaskType& taskTypeOf(const ModelTask& task) const { return taskTypes[task.taskType]; }
  const ModelAssembly& assemblyOf(const ModelComponent& component) const {
    return assemblies[component.assembly];
  }

  // The services' settings are read by the `.vsm` step alone; letting their
  // nodes go after it frees what they keep of the sources (whole documents)
  // before the task writers run. The services read as having no settings.
  void releaseServiceSettings();
};

}  // namespace app_core

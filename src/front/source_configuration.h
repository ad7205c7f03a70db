// What the configuration reader makes of the sources: one list of records per
// element kind, in document order, each record with its element's location.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "console/file_location.h"
#include "schedule/schedule_serializer.h"
#include "velk/storage.h"

namespace app_core {

using LocationRef = velk::Ref<helpers::IFileLocation>;
using NodeRef = velk::Ref<velk::IStorage>;

// A source node kept whole for the writers, with where it stood.
struct RetainedNode {
  NodeRef node;
  LocationRef location;
};

struct SourceLink {
  LocationRef location;
  std::string name;
};

// group, access_point_services, host_services and host_access_points.
struct SourceLinkList {
  LocationRef location;
  std::string owner;  // group, access point or host name
  std::vector<SourceLink> links;
};

struct SourceAccessPoint {
  LocationRef location;
  uint32_t id = 0;
  std::string name;
  std::string host;
  std::string authorizationService;
};

struct SourceHost {
  LocationRef location;
  std::string name;
  uint32_t id = 0;
  bool prototype = false;
};

enum ContainerType : uint32_t {
  kStorageContainer = 0,
  kNativeFileSystem = 1,
  kReadOnlyFileSystemStorage = 2
};

struct SourceUpdateCategory {
  LocationRef location;
  std::string name;
  std::string components;
  std::string path;  // the category's "location" attribute, or its default
  uint32_t containerType = kStorageContainer;
  std::optional<bool> enabled;
};

struct SourceAssembly {
  LocationRef location;
  std::string name;
  std::string module;
  std::optional<std::string> moduleCategory;
  std::vector<std::string> componentNames;
};

struct SourceInterface {
  LocationRef location;
  std::string name;
  uint32_t iid = 0;
};

struct SourceComponent {
  LocationRef location;
  std::string name;
  uint32_t clsid = 0;
  std::optional<uint32_t> settingsTypeId;
  std::optional<uint32_t> constructIid;
  std::optional<uint32_t> settingsIid;
  std::vector<SourceInterface> interfaces;
};

struct SourceDependency {
  LocationRef location;
  std::optional<uint32_t> key;
  std::optional<std::string> name;
  std::optional<std::string> accessPoint;
};

struct SourceService {
  LocationRef location;
  std::string name;
  uint32_t key = 0;
  std::string component;
  std::optional<std::string> tracerPrefix;
  std::optional<bool> autostart;
  std::optional<uint32_t> releaseTimeout;
  std::optional<std::string> basesCategory;
  std::optional<std::string> category;    // category_v_1_3
  std::optional<uint32_t> accessibility;  // 1 private, 0 public
  std::optional<bool> createOnUpdate;
  std::optional<bool> createServiceDuringUpdate;
  std::optional<uint8_t> lookupPriority;
  std::optional<RetainedNode> settings;
  std::vector<SourceDependency> dependencies;
};

// statistics, request and event entries.
struct SourceTypedInterface {
  LocationRef location;
  uint32_t typeId = 0;
  uint32_t iid = 0;
};

struct SourceSettingsLevel {
  LocationRef location;
  uint32_t level = 0;
  NodeRef node;
};

// The task form of settings: a common part and any number of levels.
struct SourceTaskSettings {
  LocationRef location;
  std::optional<RetainedNode> common;
  std::vector<SourceSettingsLevel> levels;
};

// What task types and monitoring tasks share.
struct SourceTaskInterfaces {
  std::vector<SourceTypedInterface> statistics;
  std::vector<SourceTypedInterface> requests;
  std::vector<SourceTypedInterface> events;
  std::vector<SourceDependency> dependencies;
};

struct SourceTaskType : SourceTaskInterfaces {
  LocationRef location;
  std::string name;
  std::string component;
  std::optional<SourceTaskSettings> settings;
  std::optional<RetainedNode> quarnSettings;
};

struct SourceMonitoringTask : SourceTaskInterfaces {
  LocationRef location;
  std::string name;
  std::string component;
  std::optional<std::string> tracerPrefix;
  std::optional<bool> startAllowed;
  std::optional<std::string> quarnRegistryPath;
  std::optional<SourceTaskSettings> settings;
  std::optional<RetainedNode> quarnSettings;
};

struct LocatedSchedule {
  Schedule schedule;
  LocationRef location;
};

struct SourceOnDemandTask {
  LocationRef location;
  std::string name;
  std::string type;
  std::optional<std::string> tracerPrefix;
  std::optional<std::string> quarnRegistryPath;
  std::optional<LocatedSchedule> schedule;
  std::optional<SourceTaskSettings> settings;
  std::optional<RetainedNode> quarnSettings;
};

// Root-level settings of a service: the settings element itself.
struct SourceServiceSettings {
  LocationRef location;
  std::string service;
  NodeRef node;
};

struct SourceTaskSettingsRecord {
  LocationRef location;
  std::string task;
  SourceTaskSettings content;
};

struct SourceConfiguration {
  std::vector<SourceLinkList> groups;
  std::vector<SourceAccessPoint> accessPoints;
  std::vector<SourceLinkList> accessPointServices;
  std::vector<SourceHost> hosts;
  std::vector<SourceLinkList> hostServices;
  std::vector<SourceLinkList> hostAccessPoints;
  std::vector<SourceAssembly> assemblies;
  std::vector<SourceComponent> components;
  std::vector<SourceService> services;
  std::vector<SourceUpdateCategory> updateCategories;
  std::vector<SourceTaskType> taskTypes;
  std::vector<SourceOnDemandTask> onDemandTasks;
  std::vector<SourceMonitoringTask> monitoringTasks;
  std::vector<SourceServiceSettings> serviceSettings;
  std::vector<SourceTaskSettingsRecord> taskSettings;
};

}  // namespace app_core

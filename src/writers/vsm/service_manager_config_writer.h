// writers/vsm/: the service manager's configuration document.
//
// Writes the service manager's configuration document (.vsm) from the model:
// update categories, component manageability, hosts, access points and the
// components, then hands the service settings to the settings database and
// finally runs the task writer. Elements are appended after whatever the
// document's root already holds.
#pragma once

#include <string>

#include "front/configuration_model.h"
#include "schedule/values_free_storage_factory.h"
#include "velk/storage.h"
#include "writers/db/storage_context.h"
#include "writers/tasks_writer.h"

namespace app_core {

class ServiceManagerConfigWriter {
 public:
  // An empty target category writes the whole configuration; a non-empty one
  // only the components of the modules in that category (and the tasks).
  ServiceManagerConfigWriter(std::string targetCategory, const ConfigurationModel& model,
                             const StorageContext& settings, velk::IValuesFreeStorageFactory* adapterFactory,
                             TasksWriter& tasksWriter);

  // 0, or the first failing code; elements made before a failure stay.
  velk::result_t write(velk::IStorage* root);
  // The two steps of write: the document and the service settings, then the
  // task writer. Between them the document is complete and no longer read.
  velk::result_t writeDocument(velk::IStorage* root);
  velk::result_t writeTasks();

 private:
  void writeUpdateCategories(velk::IStorage* root);
  void writeManageabilityAndSettings(velk::IStorage* root);
  void writeHosts(velk::IStorage* root);
  void writeAccessPoints(velk::IStorage* root);
  void writeServiceComponents(velk::IStorage* root);
  void writeComponentsWithoutServices(velk::IStorage* root);

  void writeService(velk::IStorage* root, const ModelService& service);
  void writeServiceAttributes(velk::IStorage* node, const ModelService& service);
  void writeComponentAttributes(velk::IStorage* node, const ModelComponent& component, bool withSettingsIds);
  void writeInterfaces(velk::IStorage* node, const ModelComponent& component);
  void writeModule(velk::IStorage* node, const ModelAssembly& assembly);
  void writeDependencies(velk::IStorage* node, const ModelService& service);
  bool inTargetCategory(const ModelComponent& component) const;

  std::string targetCategory_;
  const ConfigurationModel& model_;
  const StorageContext& settings_;
  velk::IValuesFreeStorageFactory* adapterFactory_;
  TasksWriter& tasksWriter_;
};

}  // namespace app_core

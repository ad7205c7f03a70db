// writers/db/: everything a compile writes into the settings and storage
// databases: service and task settings, the task type registry, task
// profiles and the scheduler's data, and the keys they are stored under.
//
// The task part of a compile written into the key-value databases: the task
// type registry, the task profiles and the scheduler's data in the storage
// database, the task settings in the settings database.
#pragma once

#include "writers/db/storage_context.h"
#include "schedule/struct_serializer.h"
#include "writers/tasks_writer.h"
#include "schedule/values_free_storage_factory.h"

namespace app_core {

class VelkTasksWriter : public TasksWriter {
 public:
  // Owns none of them; they outlive the writer.
  VelkTasksWriter(const StorageContext& settings, const StorageContext& storage,
                  velk::IValuesFreeStorageFactory* adapterFactory, velk::IStructSerializer* scheduleSerializer)
      : settings_(settings),
        storage_(storage),
        adapterFactory_(adapterFactory),
        scheduleSerializer_(scheduleSerializer) {}

  velk::result_t write(const ConfigurationModel& model) override;

 private:
  velk::result_t writeAll(const ConfigurationModel& model);
  velk::result_t writeProfile(const ConfigurationModel& model, const ModelTask& task);
  velk::result_t writeTaskSettings(const ConfigurationModel& model, const ModelTask& task);
  velk::result_t writeSettingsPair(const std::string& taskName, const TaskSettings& settings,
                                   const SettingsLevel& level);
  velk::result_t writeRecord(const std::string& key, uint32_t settingsTypeId, const SettingsLevel& level);

  const StorageContext& settings_;
  const StorageContext& storage_;
  velk::IValuesFreeStorageFactory* adapterFactory_;
  velk::IStructSerializer* scheduleSerializer_;
};

}  // namespace app_core

// The task scheduler's data in the storage database: which schedule starts
// which task. Every task with a schedule is listed under
// "app_core.scheduler.TaskScheduler"; schedules that wait for another task
// go to its on-complete list, all others are also registered with the
// framework scheduler under "velk.scheduler.Scheduler".
#pragma once

#include <string>

#include "front/configuration_model.h"
#include "schedule/struct_serializer.h"
#include "writers/db/reopened_key.h"
#include "writers/db/storage_key.h"

namespace app_core {

inline const std::string kTaskSchedulerKey = "app_core.scheduler.TaskScheduler";
inline const std::string kSchedulerKey = "velk.scheduler.Scheduler";

class SchedulerDataWriter {
 public:
  SchedulerDataWriter(const StorageContext& storage, velk::IStructSerializer* serializer)
      : storage_(storage), serializer_(serializer), scheduler_(storage, kSchedulerKey) {}

  velk::result_t write(const ConfigurationModel& model);

 private:
  velk::result_t writeTask(const ModelTask& task);
  velk::result_t appendScheduleItem(velk::IStorage* list, uint32_t itemId, const ModelTask& task,
                                    velk::Ref<velk::IStorage>& item);
  velk::result_t registerWithScheduler(const ModelTask& task);
  velk::result_t appendDescriptor(velk::IStorage* root, const ModelTask& task, velk::Ref<velk::IStorage>& descriptor);
  velk::result_t listScheduleId(const ModelTask& task);
  // The first child of "schedule_data" named `name`, found once.
  velk::result_t list(std::string_view name, velk::Ref<velk::IStorage>& cached, velk::IStorage** out);
  velk::result_t close();

  const StorageContext& storage_;
  velk::IStructSerializer* serializer_;
  StorageKey taskScheduler_;
  ReopenedKey scheduler_;
  velk::Ref<velk::IStorage> scheduleData_;
  velk::Ref<velk::IStorage> onCompleteList_;
  velk::Ref<velk::IStorage> scheduleList_;
};

}  // namespace app_core

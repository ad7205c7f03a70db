// writers/legacy/: the task part for the older quarn task manager, as a
// profiles.xml property map or as ppp.reg registry text, with the schedule
// conversion both need.
//
// Writes the tasks and task types for the legacy quarn task manager as a
// property map ("profiles.xml"), adding to what the document holds.
#pragma once

#include <ctime>
#include <memory>

#include "console/storage_error_reporter.h"
#include "writers/legacy/quarn_property_map.h"
#include "writers/tasks_writer.h"

namespace app_core {

class QuarnProfilesXmlTasksWriter : public TasksWriter {
 public:
  // `documentRoot` is the root of the opened document; releasing it with the
  // writer saves the document when something was written.
  QuarnProfilesXmlTasksWriter(helpers::StorageErrorReporter* reporter, velk::IStorage* documentRoot);
  ~QuarnProfilesXmlTasksWriter() override;

  velk::result_t write(const ConfigurationModel& model) override;

 private:
  velk::result_t writeTask(const ConfigurationModel& model, const ModelTask& task);
  velk::result_t openTaskKey(const ModelTask& task, QuarnPropertyMap** key);
  velk::result_t writeSchedule(QuarnPropertyMap& taskKey, const LocatedSchedule& schedule);
  velk::result_t writeTaskType(const ConfigurationModel& model, const ModelTaskType& type);
  velk::result_t writeStatistics(const ModelTaskType& type, QuarnPropertyMap& key);
  velk::result_t writeSettings(const ModelComponent& component, const std::optional<RetainedNode>& settings,
                               QuarnPropertyMap& key);

  velk::Ref<helpers::StorageErrorReporter> reporter_;
  std::unique_ptr<QuarnPropertyMap> root_;
  std::time_t now_ = 0;
};

}  // namespace app_core

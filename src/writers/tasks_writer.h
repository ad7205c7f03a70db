// The task part of a compile: the key-value databases, or one of the legacy
// quarn files. The pipeline picks one writer per run.
#pragma once

#include "front/configuration_model.h"
#include "velk/result.h"

namespace app_core {

class TasksWriter {
 public:
  virtual ~TasksWriter() = default;
  // Writes the tasks and task types of the model; the first failure ends it.
  virtual velk::result_t write(const ConfigurationModel& model) = 0;
};

}  // namespace app_core

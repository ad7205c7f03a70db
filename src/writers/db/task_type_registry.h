// The task manager's registry of task types in the storage database: one
// "item" under "task_types" per registration, never merged with an earlier
// item of the same type.
#pragma once

#include <string>

#include "front/configuration_model.h"
#include "velk/storage.h"

namespace app_core {

inline const std::string kTaskTypeRegistryKey = "app_core.task_manager.TaskTypeRegistry";
// Depth of a registry item in the key's tree (the top node is at 1).
constexpr uint32_t kTaskTypeItemDepth = 3;

// Appends the item of `type` to the registry tree `root`; `item` receives it,
// also when filling it failed half way.
velk::result_t appendTaskTypeItem(velk::IStorage* root, const ConfigurationModel& model, const ModelTaskType& type,
                                  velk::Ref<velk::IStorage>& item);

}  // namespace app_core

#include "writers/db/velk_tasks_writer.h"

#include <span>
#include <vector>

#include "velk/exception.h"
#include "writers/db/node_writing.h"
#include "writers/db/reopened_key.h"
#include "writers/db/scheduler_data_writer.h"
#include "writers/db/settings_record.h"
#include "writers/db/storage_key.h"
#include "writers/db/task_type_registry.h"

namespace app_core {

using velk::result_t;

namespace {

const std::string kProfilesKey = "app_core.task_manager.TaskManager/profiles/";
constexpr uint32_t kDefaultLevel = 0;

// The entry of the default level that counts: the first one.
const SettingsLevel* defaultLevelOf(const TaskSettings& settings) {
  for (const SettingsLevel& level : settings.levels)
    if (level.level == kDefaultLevel) return &level;
  return nullptr;
}

// One opening of the registry, appending an item for each of `types`.
result_t appendToRegistry(ReopenedKey& registry, const ConfigurationModel& model,
                          std::span<const ModelTaskType* const> types) {
  velk::Ref<velk::IStorage> root;
  result_t r = registry.open(root);
  for (size_t i = 0; i < types.size() && velk::succeeded(r); ++i) {
    velk::Ref<velk::IStorage> item;
    r = appendTaskTypeItem(root.get(), model, *types[i], item);
    if (velk::succeeded(r)) r = registry.added(item.get(), kTaskTypeItemDepth);
    if (velk::succeeded(r)) registry.finished(item.get());
  }
  return r;
}

}  // namespace

result_t VelkTasksWriter::write(const ConfigurationModel& model) {
  try {
    return writeAll(model);
  } catch (...) {
    // A name the stored document cannot hold is a failed write like any other.
    return velk::resultOfCurrentException();
  }
}

result_t VelkTasksWriter::writeAll(const ConfigurationModel& model) {
  ReopenedKey registry(storage_, kTaskTypeRegistryKey);
  result_t r = velk::errors::kOk;
  for (size_t i = 0; i < model.tasks.size() && velk::succeeded(r); ++i) {
    const ModelTask& task = model.tasks[i];
    const ModelTaskType* type = &model.taskTypeOf(task);
    r = appendToRegistry(registry, model, {&type, 1});
    if (velk::succeeded(r)) r = writeProfile(model, task);
    if (velk::succeeded(r)) r = writeTaskSettings(model, task);
  }
  if (velk::succeeded(r)) {
    std::vector<const ModelTaskType*> types;
    for (const ModelTaskType& type : model.taskTypes) types.push_back(&type);
    r = appendToRegistry(registry, model, types);
  }
  result_t stored = registry.close();
  if (velk::succeeded(r)) r = stored;
  if (velk::succeeded(r)) r = SchedulerDataWriter(storage_, scheduleSerializer_).write(model);
  return r;
}

result_t VelkTasksWriter::writeProfile(const ConfigurationModel& model, const ModelTask& task) {
  StorageKey profile;
  result_t r = profile.open(storage_, kProfilesKey + task.name);
  if (velk::failed(r)) return r;
  velk::IStorage* root = profile.root();
  if (velk::failed(r = writeText(root, "host", velk::hexId(task.host)))) return r;
  if (task.tracerPrefix && velk::failed(r = writeText(root, "tracer_prefix", *task.tracerPrefix))) return r;
  if (velk::failed(r = writeText(root, "type", model.taskTypeOf(task).name))) return r;
  if (velk::failed(r = root->WriteValue("enabled", velk::ValueDescriptor::ofBool(task.startAllowed), 0))) return r;
  if (velk::failed(r = writeSigned(root, "settings_level", 0))) return r;
  return profile.close();
}

// The common part goes to "/settings" and "/factory_settings", each level to
// a key of its own. Then the default levels of the type and of the task are
// laid over "/settings" and "/factory_settings", in that order.
result_t VelkTasksWriter::writeTaskSettings(const ConfigurationModel& model, const ModelTask& task) {
  result_t r = velk::errors::kOk;
  if (task.settings) {
    for (size_t i = 0; i < task.settings->levels.size() && velk::succeeded(r); ++i) {
      const SettingsLevel& level = task.settings->levels[i];
      if (level.level == kCommonSettingsLevel) {
        r = writeSettingsPair(task.name, *task.settings, level);
      } else {
        r = writeRecord(task.name + "/settings_level_" + std::to_string(level.level), task.settings->settingsTypeId,
                        level);
      }
    }
  }
  const ModelTaskType& type = model.taskTypeOf(task);
  const SettingsLevel* typeDefault = type.settings ? defaultLevelOf(*type.settings) : nullptr;
  if (velk::succeeded(r) && typeDefault) r = writeSettingsPair(task.name, *type.settings, *typeDefault);
  const SettingsLevel* taskDefault = task.settings ? defaultLevelOf(*task.settings) : nullptr;
  if (velk::succeeded(r) && taskDefault) r = writeSettingsPair(task.name, *task.settings, *taskDefault);
  return r;
}

result_t VelkTasksWriter::writeSettingsPair(const std::string& taskName, const TaskSettings& settings,
                                            const SettingsLevel& level) {
  result_t r = writeRecord(taskName + "/settings", settings.settingsTypeId, level);
  return velk::succeeded(r) ? writeRecord(taskName + "/factory_settings", settings.settingsTypeId, level) : r;
}

result_t VelkTasksWriter::writeRecord(const std::string& key, uint32_t settingsTypeId, const SettingsLevel& level) {
  return writeSettingsRecord(settings_, key, settingsTypeId, level.node.get(), adapterFactory_);
}

}  // namespace app_core

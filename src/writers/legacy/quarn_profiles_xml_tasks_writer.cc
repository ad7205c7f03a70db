#include "writers/legacy/quarn_profiles_xml_tasks_writer.h"

#include <cstdio>

#include "writers/legacy/schedule_converter.h"
#include "xmlfile/xml_input_check.h"

namespace app_core {
namespace {

constexpr uint32_t kTaskTypePid = 0xA47BF9AF;
constexpr uint32_t kTaskTypeIid = 23;

// A task key lies at 2 * parts + 3 levels and its schedule values three
// below; deeper documents could be neither printed safely nor read back.
constexpr size_t kMaxRegistryPathParts = (velk::xml::kMaxNestingDepth - 6) / 2;

std::string listIndex(size_t index) {
  char text[24];
  std::snprintf(text, sizeof text, "%04zu", index);
  return text;
}

velk::result_t writeList(QuarnPropertyMap& key, const char* name,
                         const std::vector<TypedInterface>& entries) {
  if (entries.empty()) return velk::errors::kOk;
  QuarnPropertyMap* list = nullptr;
  velk::result_t r = key.appendKey(name, &list);
  for (size_t i = 0; velk::succeeded(r) && i < entries.size(); ++i) {
    QuarnPropertyMap* entry = nullptr;
    r = list->appendKey(listIndex(i), &entry);
    if (velk::succeeded(r))
      r = entry->addValues(
          {QuarnValue::dword("iid", entries[i].iid), QuarnValue::dword("serid", entries[i].typeId)});
  }
  return r;
}

std::vector<QuarnValue> taskValues(const ConfigurationModel& model, const ModelTask& task) {
  const ModelTaskType& type = model.taskTypeOf(task);
  std::vector<QuarnValue> values = {
      QuarnValue::string("type", type.name),
      QuarnValue::dword("persistent", type.monitoring ? 1 : 0),
      QuarnValue::dword("enabled", task.startAllowed ? 1 : 0),
      QuarnValue::dword("installed", 1),
      QuarnValue::dword("level", 0),
      QuarnValue::dword("remote", task.host == kMainHostId ? 0 : 1),
  };
  if (task.tracerPrefix) values.push_back(QuarnValue::string("velk_trace_prefix", *task.tracerPrefix));
  return values;
}

std::vector<QuarnValue> taskTypeValues(const ModelComponent& component) {
  std::vector<QuarnValue> values = {
      QuarnValue::dword("pid", kTaskTypePid),
      QuarnValue::dword("iid", kTaskTypeIid),
      QuarnValue::dword("velk_clsid", component.clsid),
  };
  if (component.constructIid)
    values.push_back(QuarnValue::dword("velk_construct_iid", *component.constructIid));
  if (component.settingsIid) values.push_back(QuarnValue::dword("velk_settings_iid", *component.settingsIid));
  if (component.settingsTypeId)
    values.push_back(QuarnValue::dword("velk_settings_serid", *component.settingsTypeId));
  return values;
}

}  // namespace

QuarnProfilesXmlTasksWriter::QuarnProfilesXmlTasksWriter(helpers::StorageErrorReporter* reporter,
                                                         velk::IStorage* documentRoot)
    : reporter_(reporter),
      root_(std::make_unique<QuarnPropertyMap>(velk::Ref<velk::IStorage>(documentRoot))) {}

QuarnProfilesXmlTasksWriter::~QuarnProfilesXmlTasksWriter() = default;

velk::result_t QuarnProfilesXmlTasksWriter::write(const ConfigurationModel& model) {
  now_ = std::time(nullptr);
  for (const ModelTask& task : model.tasks) {
    velk::result_t r = writeTask(model, task);
    if (velk::failed(r)) return r;
  }
  for (const ModelTaskType& type : model.taskTypes) {
    velk::result_t r = writeTaskType(model, type);
    if (velk::failed(r)) return r;
  }
  return velk::errors::kOk;
}

velk::result_t QuarnProfilesXmlTasksWriter::openTaskKey(const ModelTask& task, QuarnPropertyMap** key) {
  velk::result_t r = root_->openKey("profiles", key);
  for (const std::string& part : task.quarnRegistryPath) {
    if (velk::succeeded(r)) r = (*key)->openKey(part, key);
    if (velk::succeeded(r)) r = (*key)->openKey("profiles", key);
  }
  if (velk::succeeded(r)) r = (*key)->openKey(task.name, key);
  return r;
}

velk::result_t QuarnProfilesXmlTasksWriter::writeTask(const ConfigurationModel& model,
                                                      const ModelTask& task) {
  if (task.quarnRegistryPath.size() > kMaxRegistryPathParts) {
    reporter_->ReportError(task.location.get(),
                           "Quarn registry path of task '" + task.name + "' is nested too deeply");
    return velk::errors::kOk;
  }
  QuarnPropertyMap* key = nullptr;
  velk::result_t r = openTaskKey(task, &key);
  if (velk::succeeded(r)) r = key->addValues(taskValues(model, task));
  const ModelComponent& component = model.componentOf(model.taskTypeOf(task));
  if (velk::succeeded(r)) r = writeSettings(component, task.quarnSettings, *key);
  if (velk::succeeded(r) && task.schedule) r = writeSchedule(*key, *task.schedule);
  return r;
}

velk::result_t QuarnProfilesXmlTasksWriter::writeSchedule(QuarnPropertyMap& taskKey,
                                                          const LocatedSchedule& schedule) {
  if (schedule.schedule.isOnTaskComplete()) {
    reporter_->ReportError(schedule.location.get(),
                           "Legacy Task Manager does not support OnTaskCompleteSchedule");
    return velk::errors::kOk;
  }
  std::vector<QuarnValue> record = convertSchedule(schedule.schedule, now_).values();
  QuarnPropertyMap* scheduleKey = nullptr;
  QuarnPropertyMap* defaultKey = nullptr;
  velk::result_t r = taskKey.openKey("schedule", &scheduleKey);
  if (velk::succeeded(r)) r = scheduleKey->addValues(record);
  if (velk::succeeded(r)) r = scheduleKey->openKey("def", &defaultKey);
  if (velk::succeeded(r)) r = defaultKey->addValues(record);
  return r;
}

velk::result_t QuarnProfilesXmlTasksWriter::writeTaskType(const ConfigurationModel& model,
                                                          const ModelTaskType& type) {
  const ModelComponent& component = model.componentOf(type);
  QuarnPropertyMap* types = nullptr;
  QuarnPropertyMap* key = nullptr;
  velk::result_t r = root_->openKey("types", &types);
  if (velk::succeeded(r)) r = types->openKey(type.name, &key);
  if (velk::succeeded(r)) r = key->addValues(taskTypeValues(component));
  if (velk::succeeded(r)) r = writeStatistics(type, *key);
  if (velk::succeeded(r)) r = writeList(*key, "velk_action_requests", type.requests);
  if (velk::succeeded(r)) r = writeList(*key, "velk_events", type.events);
  if (velk::succeeded(r)) r = writeSettings(component, type.quarnSettings, *key);
  return r;
}

velk::result_t QuarnProfilesXmlTasksWriter::writeStatistics(const ModelTaskType& type,
                                                            QuarnPropertyMap& key) {
  if (type.statistics.empty()) return velk::errors::kOk;
  if (type.statistics.size() > 1)
    reporter_->ReportError(
        nullptr,
        "Task type " + type.name + " has has more than one statistics. Can't convert it to quarn config.");
  const TypedInterface& first = type.statistics.front();
  return key.addValues({
      QuarnValue::dword("idStatistics", ~first.typeId),
      QuarnValue::dword("velk_statistics_iid", first.iid),
      QuarnValue::dword("velk_statistics_serid", first.typeId),
  });
}

velk::result_t QuarnProfilesXmlTasksWriter::writeSettings(const ModelComponent& component,
                                                          const std::optional<RetainedNode>& settings,
                                                          QuarnPropertyMap& key) {
  if (!component.settingsTypeId) return velk::errors::kOk;
  velk::result_t r = key.addValue(QuarnValue::dword("idSettings", ~*component.settingsTypeId));
  if (velk::failed(r) || !settings || !settings->node) return r;
  QuarnPropertyMap* settingsKey = nullptr;
  r = key.openKey("settings", &settingsKey);
  if (velk::succeeded(r)) r = settingsKey->copyContent(settings->node.get());
  return r;
}

}  // namespace app_core

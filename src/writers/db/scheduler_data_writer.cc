#include "writers/db/scheduler_data_writer.h"

#include <vector>

#include "schedule/schedule_id.h"
#include "writers/db/node_writing.h"

namespace app_core {

using velk::result_t;

namespace {

constexpr uint32_t kScheduleDataId = 0x879DAB4A;
constexpr uint32_t kDefaultScheduleItemId = 0xED981A95;
constexpr uint32_t kOnCompleteScheduleItemId = 0x0571EDE7;
constexpr uint32_t kDescriptorId = 0xD5974E38;
constexpr int32_t kScheduleEntryId = 0x141C3D6C;
constexpr uint32_t kScheduleListItemId = 0x8A6B8FD1;
// Depth of a descriptor in the scheduler key's tree (the top node is at 1).
constexpr uint32_t kDescriptorDepth = 3;

// The task scheduler, as the receiver of the framework scheduler's events.
const std::vector<uint8_t> kScheduleReceiverId = {0x8B, 0x4A, 0xAF, 0x4B, 0xD1, 0x3C, 0x40, 0x4D,
                                                  0xBB, 0x90, 0x8C, 0x89, 0x1D, 0x4F, 0x82, 0x1C};

}  // namespace

result_t SchedulerDataWriter::write(const ConfigurationModel& model) {
  result_t r = taskScheduler_.open(storage_, kTaskSchedulerKey);
  if (velk::succeeded(r)) r = openOrCreateChild(taskScheduler_.root(), "schedule_data", scheduleData_);
  if (velk::succeeded(r)) r = writeUnsigned(scheduleData_.get(), "unique_id", kScheduleDataId);
  for (size_t i = 0; i < model.tasks.size() && velk::succeeded(r); ++i)
    if (model.tasks[i].schedule) r = writeTask(model.tasks[i]);
  result_t closed = close();
  return velk::failed(r) ? r : closed;
}

result_t SchedulerDataWriter::close() {
  scheduleData_.reset();
  onCompleteList_.reset();
  scheduleList_.reset();
  result_t first = scheduler_.close();
  result_t second = taskScheduler_.close();
  return velk::failed(first) ? first : second;
}

result_t SchedulerDataWriter::writeTask(const ModelTask& task) {
  velk::Ref<velk::IStorage> defaultList;
  velk::Ref<velk::IStorage> item;
  result_t r = createChild(scheduleData_.get(), "defaultScheduleList", defaultList);
  if (velk::succeeded(r)) r = appendScheduleItem(defaultList.get(), kDefaultScheduleItemId, task, item);
  if (velk::failed(r)) return r;
  // What a task adds is never read again; kept as text, the trees of
  // thousands of tasks stay small.
  item.reset();
  keepAsPrinted(defaultList.get());
  if (task.schedule->schedule.isOnTaskComplete()) {
    velk::IStorage* onComplete = nullptr;
    r = list("onCompleteScheduleList", onCompleteList_, &onComplete);
    if (velk::succeeded(r)) r = appendScheduleItem(onComplete, kOnCompleteScheduleItemId, task, item);
    if (velk::succeeded(r)) keepAsPrinted(item.get());
    return r;
  }
  r = registerWithScheduler(task);
  return velk::succeeded(r) ? listScheduleId(task) : r;
}

result_t SchedulerDataWriter::appendScheduleItem(velk::IStorage* list, uint32_t itemId, const ModelTask& task,
                                                 velk::Ref<velk::IStorage>& item) {
  result_t r = createChild(list, "item", item);
  if (velk::succeeded(r)) r = writeUnsigned(item.get(), "unique_id", itemId);
  if (velk::succeeded(r)) r = writeText(item.get(), "taskName", task.name);
  if (velk::succeeded(r)) r = writeSchedule(serializer_, task.schedule->schedule, item.get());
  return r;
}

// The framework scheduler's key is opened once per schedule.
result_t SchedulerDataWriter::registerWithScheduler(const ModelTask& task) {
  velk::Ref<velk::IStorage> root;
  velk::Ref<velk::IStorage> descriptor;
  result_t r = scheduler_.open(root);
  if (velk::succeeded(r)) r = appendDescriptor(root.get(), task, descriptor);
  if (velk::succeeded(r)) r = scheduler_.added(descriptor.get(), kDescriptorDepth);
  if (velk::succeeded(r)) scheduler_.finished(descriptor.get());
  return r;
}

result_t SchedulerDataWriter::appendDescriptor(velk::IStorage* root, const ModelTask& task,
                                               velk::Ref<velk::IStorage>& descriptor) {
  velk::Ref<velk::IStorage> schedules;
  velk::Ref<velk::IStorage> entry;
  result_t r = openOrCreateChild(root, "schedules", schedules);
  if (velk::succeeded(r)) r = createChild(schedules.get(), "descriptor", descriptor);
  if (velk::failed(r)) return r;
  if (velk::failed(r = writeUnsigned(descriptor.get(), "unique_id", kDescriptorId))) return r;
  auto never = velk::ValueDescriptor::ofBits(velk::kTypeLong64, 0);
  if (velk::failed(r = descriptor->WriteValue("lastDeliveryTimeForStorage", never, 0))) return r;
  if (velk::failed(r = createChild(descriptor.get(), "schedule", entry))) return r;
  if (velk::failed(r = writeSigned(entry.get(), "unique_id", kScheduleEntryId))) return r;
  if (velk::failed(r = writeUnsigned(entry.get(), "scheduleId", scheduleId(task.name)))) return r;
  auto receiver = velk::ValueDescriptor::ofBinary(kScheduleReceiverId);
  if (velk::failed(r = entry->WriteValue("scheduleReceiverId", receiver, 0))) return r;
  return writeSchedule(serializer_, task.schedule->schedule, entry.get());
}

result_t SchedulerDataWriter::listScheduleId(const ModelTask& task) {
  velk::IStorage* scheduleList = nullptr;
  velk::Ref<velk::IStorage> item;
  result_t r = list("scheduleList", scheduleList_, &scheduleList);
  if (velk::succeeded(r)) r = createChild(scheduleList, "item", item);
  if (velk::succeeded(r)) r = writeUnsigned(item.get(), "unique_id", kScheduleListItemId);
  if (velk::succeeded(r)) r = writeUnsigned(item.get(), "scheduleId", scheduleId(task.name));
  if (velk::succeeded(r)) r = writeText(item.get(), "taskName", task.name);
  if (velk::succeeded(r)) keepAsPrinted(item.get());
  return r;
}

// "schedule_data" gains a child per task; looking the lists up by name each
// time would scan them all again.
result_t SchedulerDataWriter::list(std::string_view name, velk::Ref<velk::IStorage>& cached, velk::IStorage** out) {
  result_t r = cached ? velk::errors::kOk : openOrCreateChild(scheduleData_.get(), name, cached);
  *out = cached.get();
  return r;
}

}  // namespace app_core

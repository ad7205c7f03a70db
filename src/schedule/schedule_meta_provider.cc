#include "schedule/schedule_meta_provider.h"

#include <array>

#include "schedule/schedule_types.h"

namespace app_core::detail {
namespace {

using velk::structField;
using velk::StructMetaInfo;
using namespace velk::scheduler;
using app_core::scheduler::OnTaskCompleteSchedule;

const StructMetaInfo kConditions = {
    ScheduleConditions::kTypeId,
    "ScheduleConditions",
    sizeof(ScheduleConditions),
    {structField<&ScheduleConditions::from>("from"), structField<&ScheduleConditions::duration>("duration"),
     structField<&ScheduleConditions::weekDays>("weekDays"),
     structField<&ScheduleConditions::monthDays>("monthDays"),
     structField<&ScheduleConditions::scheduleFrom>("scheduleFrom"),
     structField<&ScheduleConditions::scheduleTo>("scheduleTo")},
    &velk::createStruct<ScheduleConditions>,
};

// The base fields come first in every schedule's table.
std::vector<velk::FieldMetaInfo> withBaseFields(std::vector<velk::FieldMetaInfo> own) {
  std::vector<velk::FieldMetaInfo> fields = {
      structField<&ScheduleBase::flags>("flags"),
      structField<&ScheduleBase::executionCount>("executionCount"),
      structField<&ScheduleBase::postponeTime>("postponeTime"),
      structField<&ScheduleBase::conditions>("conditions", &kConditions),
      structField<&ScheduleBase::timeType>("timeType"),
  };
  fields.insert(fields.end(), own.begin(), own.end());
  return fields;
}

template <class T>
StructMetaInfo scheduleInfo(const char* name, std::vector<velk::FieldMetaInfo> own) {
  return {T::kTypeId, name, sizeof(T), withBaseFields(std::move(own)), &velk::createStruct<T>};
}

const std::array<StructMetaInfo, 7>& scheduleInfos() {
  static const std::array<StructMetaInfo, 7> infos = {
      scheduleInfo<ExactTimeSchedule>("ExactTimeSchedule",
                                      {structField<&ExactTimeSchedule::exactTime>("exactTime")}),
      scheduleInfo<OnStartSchedule>("OnStartSchedule",
                                    {structField<&OnStartSchedule::delayInSeconds>("delayInSeconds")}),
      scheduleInfo<SecondsSchedule>("SecondsSchedule",
                                    {structField<&SecondsSchedule::periodInSeconds>("periodInSeconds")}),
      scheduleInfo<DailySchedule>("DailySchedule", {structField<&DailySchedule::periodInDays>("periodInDays"),
                                                    structField<&DailySchedule::timeOfDay>("timeOfDay")}),
      scheduleInfo<OnTaskCompleteSchedule>(
          "OnTaskCompleteSchedule", {structField<&OnTaskCompleteSchedule::taskName>("taskName"),
                                     structField<&OnTaskCompleteSchedule::taskMustCompleteSuccessfully>(
                                         "taskMustCompleteSuccessfully")}),
      scheduleInfo<MonthlySchedule>("MonthlySchedule",
                                    {structField<&MonthlySchedule::monthDays>("monthDays"),
                                     structField<&MonthlySchedule::timeOfDay>("timeOfDay")}),
      scheduleInfo<WeeklySchedule>("WeeklySchedule", {structField<&WeeklySchedule::weekDays>("weekDays"),
                                                      structField<&WeeklySchedule::timeOfDay>("timeOfDay")}),
  };
  return infos;
}

}  // namespace

velk::result_t ScheduleMetaProvider::FindStructMetaInfo(uint32_t typeId, const velk::StructMetaInfo** info) {
  if (!info) return velk::errors::kInvalidArgument;
  *info = nullptr;
  for (const StructMetaInfo& candidate : scheduleInfos())
    if (candidate.typeId == typeId) *info = &candidate;
  return velk::errors::kOk;
}

velk::result_t ScheduleMetaProvider::RegisterStructMetaInfo(const velk::StructMetaInfo*) {
  return velk::errors::kNotImplemented;
}

velk::result_t ScheduleMetaProvider::UnregisterStructMetaInfo(uint32_t) {
  return velk::errors::kNotImplemented;
}

velk::result_t ScheduleMetaProvider::GetStructMetaInfoCount(uint32_t*) {
  return velk::errors::kNotImplemented;
}

}  // namespace app_core::detail

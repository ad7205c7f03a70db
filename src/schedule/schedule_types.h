// The schedule types an on-demand task may carry. Field names and order are
// those of the scheduler's stored form.
#pragma once

#include <cstdint>
#include <string>

#include "schedule/struct_meta_info.h"

namespace velk::scheduler {

struct ScheduleConditions : SerializableStruct {
  static constexpr uint32_t kTypeId = 0xE3E842C7;
  uint32_t from = 0;
  uint32_t duration = 0;
  uint8_t weekDays = 0;
  uint32_t monthDays = 0;
  uint64_t scheduleFrom = 0;  // date-time
  uint64_t scheduleTo = 0;    // date-time
};

struct ScheduleBase : SerializableStruct {
  static constexpr uint32_t kTypeId = 0xA27CC0F9;
  uint32_t flags = 0;
  uint32_t executionCount = 0;
  uint32_t postponeTime = 0;
  ScheduleConditions conditions;
  uint32_t timeType = 0;
};

struct ExactTimeSchedule : ScheduleBase {
  static constexpr uint32_t kTypeId = 0x5AAF69C8;
  uint64_t exactTime = 0;  // date-time
};

struct OnStartSchedule : ScheduleBase {
  static constexpr uint32_t kTypeId = 0x6E3FBE91;
  uint32_t delayInSeconds = 0;
};

struct SecondsSchedule : ScheduleBase {
  static constexpr uint32_t kTypeId = 0x874A7FAA;
  uint32_t periodInSeconds = 0;
};

struct DailySchedule : ScheduleBase {
  static constexpr uint32_t kTypeId = 0x8AFDEF28;
  uint32_t periodInDays = 0;
  uint32_t timeOfDay = 0;
};

struct MonthlySchedule : ScheduleBase {
  static constexpr uint32_t kTypeId = 0xA8860BAE;
  uint32_t monthDays = 0;
  uint32_t timeOfDay = 0;
};

struct WeeklySchedule : ScheduleBase {
  static constexpr uint32_t kTypeId = 0xD6426858;
  uint8_t weekDays = 0;
  uint32_t timeOfDay = 0;
};

}  // namespace velk::scheduler

namespace app_core::scheduler {

struct OnTaskCompleteSchedule : velk::scheduler::ScheduleBase {
  static constexpr uint32_t kTypeId = 0x9784FBB7;
  std::string taskName;
  bool taskMustCompleteSuccessfully = false;
};

}  // namespace app_core::scheduler

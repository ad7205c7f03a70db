// The legacy quarn task manager's schedule record and its conversion from
// the scheduler's schedule types.
#pragma once

#include <cstdint>
#include <ctime>
#include <vector>

#include "schedule/schedule_serializer.h"
#include "writers/legacy/quarn_value.h"

namespace app_core {

// The quarn framework's cTaskSchedule, with its initial values.
struct cTaskSchedule {
  static constexpr uint32_t kEveryMinutes = 0;
  static constexpr uint32_t kEveryHours = 1;
  static constexpr uint32_t kDaily = 2;
  static constexpr uint32_t kWeekly = 3;
  static constexpr uint32_t kExactTime = 4;
  static constexpr uint32_t kMonthly = 5;
  static constexpr uint32_t kOnStart = 6;

  uint32_t mode = 0;
  uint32_t type = kDaily;
  uint32_t every = 0;
  uint16_t minutesCount = 1;
  uint16_t hoursCount = 1;
  uint32_t daysCount = 1;
  uint32_t monthsCount = 1;
  bool weekDays[7] = {};
  int32_t time = 0;  // seconds since 1970
  int32_t lastRunTime = 0;
  bool useTime = true;
  bool raiseIfSkipped = false;
  uint32_t startDelta = 0;
  uint32_t prepareStartDelta = 0;
  uint32_t workingTimeout = 0;
  uint32_t startDelay = 0;
  bool needInternet = false;
  uint32_t extScheduleFlags = 0;

  // The fields as the record is serialized, in order.
  std::vector<QuarnValue> values() const;
};

// Converts any schedule but an on-task-complete one, which the legacy task
// manager cannot run (the caller refuses it). `now` dates the times of day.
// Throws velk::CheckFailedException for an exact time that is unset, all
// one bits, or outside what the record's 32-bit time can hold.
cTaskSchedule convertSchedule(const Schedule& schedule, std::time_t now);

// A file time (100 ns steps since 1601-01-01 UTC) as the local wall-clock
// time of that instant, in seconds since 1970-01-01 00:00.
int64_t localSecondsOfFileTime(uint64_t fileTime);

}  // namespace app_core

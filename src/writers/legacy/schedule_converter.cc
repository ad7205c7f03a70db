#include "writers/legacy/schedule_converter.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <limits>

#include "velk/exception.h"

namespace app_core {
namespace {

using velk::scheduler::ScheduleBase;

constexpr velk::SourcePos kConverterPos{"components/common/include/common/velk_quarn/schedule_converter",
                                        196};
constexpr velk::SourcePos kDateTimePos{"velk/system/datetime/windows/datetime", 88};

constexpr uint64_t kFileTimeTicksPerSecond = 10000000;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr int64_t kSecondsPerDay = 86400;
// The longest period the minute counter can express: 65536 minutes.
constexpr uint32_t kMinutesCounterLimit = 65536 * 60;

constexpr uint32_t kRaiseIfSkippedFlag = 0x1;
constexpr uint32_t kPostponeFlag = 0x2;
constexpr uint32_t kModeZeroFlag = 0x4;  // set: the record's Mode is 0

void applyBase(const ScheduleBase& base, cTaskSchedule& record) {
  record.raiseIfSkipped = base.flags & kRaiseIfSkippedFlag;
  record.startDelta = (base.flags & kPostponeFlag) ? base.postponeTime / 1000 : 0;
  record.mode = (base.flags & kModeZeroFlag) ? 0 : 1;
}

// Today's UTC midnight plus the time of day, as the record's 32-bit time.
int32_t timeOfToday(std::time_t now, uint32_t timeOfDay) {
  int64_t seconds = now;
  int64_t midnight = seconds - ((seconds % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
  return static_cast<int32_t>(static_cast<uint32_t>(midnight + timeOfDay));
}

int32_t exactTime(uint64_t fileTime) {
  if (fileTime == 0 || fileTime == std::numeric_limits<uint64_t>::max())
    throw velk::CheckFailedException(kConverterPos, "exactTime != 0 && exactTime != UINT64_MAX");
  int64_t local = localSecondsOfFileTime(fileTime);
  // A time the record cannot hold would come out as a different date.
  if (local < std::numeric_limits<int32_t>::min() || local > std::numeric_limits<int32_t>::max())
    throw velk::CheckFailedException(kConverterPos, "localTime fits the record's 32-bit time");
  return static_cast<int32_t>(local);
}

void convertSeconds(uint32_t periodInSeconds, cTaskSchedule& record) {
  if (periodInSeconds < kMinutesCounterLimit) {
    record.type = cTaskSchedule::kEveryMinutes;
    record.minutesCount = static_cast<uint16_t>(periodInSeconds / 60);
  } else {
    record.type = cTaskSchedule::kEveryHours;
    // Periods beyond the counter get its longest one rather than a wrapped,
    // much shorter one.
    record.hoursCount = static_cast<uint16_t>(std::min<uint32_t>(periodInSeconds / 3600, 0xFFFF));
  }
}

void convertWeekly(const velk::scheduler::WeeklySchedule& weekly, std::time_t now, cTaskSchedule& record) {
  record.type = cTaskSchedule::kWeekly;
  record.time = timeOfToday(now, weekly.timeOfDay);
  for (int day = 0; day < 7; ++day) record.weekDays[day] = (weekly.weekDays >> day) & 1;
}

void convertMonthly(const velk::scheduler::MonthlySchedule& monthly, std::time_t now, cTaskSchedule& record) {
  record.type = cTaskSchedule::kMonthly;
  record.time = timeOfToday(now, monthly.timeOfDay);
  record.daysCount = monthly.monthDays ? 1 + std::countr_zero(monthly.monthDays) : 0;
}

void convertDaily(const velk::scheduler::DailySchedule& daily, std::time_t now, cTaskSchedule& record) {
  record.type = cTaskSchedule::kDaily;
  record.time = timeOfToday(now, daily.timeOfDay);
  record.daysCount = daily.periodInDays;
  record.every = 0;
}

void convertOwnFields(const Schedule& schedule, std::time_t now, cTaskSchedule& record) {
  using namespace velk::scheduler;
  if (auto* exact = schedule.as<ExactTimeSchedule>()) {
    record.type = cTaskSchedule::kExactTime;
    record.time = exactTime(exact->exactTime);
  } else if (auto* onStart = schedule.as<OnStartSchedule>()) {
    record.type = cTaskSchedule::kOnStart;
    record.startDelay = onStart->delayInSeconds / 60;
  } else if (auto* seconds = schedule.as<SecondsSchedule>()) {
    convertSeconds(seconds->periodInSeconds, record);
  } else if (auto* daily = schedule.as<DailySchedule>()) {
    convertDaily(*daily, now, record);
  } else if (auto* weekly = schedule.as<WeeklySchedule>()) {
    convertWeekly(*weekly, now, record);
  } else if (auto* monthly = schedule.as<MonthlySchedule>()) {
    convertMonthly(*monthly, now, record);
  }
}

}  // namespace

int64_t localSecondsOfFileTime(uint64_t fileTime) {
  std::time_t utc = static_cast<int64_t>(fileTime / kFileTimeTicksPerSecond) - kSecondsFrom1601To1970;
  std::tm local{};
  tzset();
  if (!localtime_r(&utc, &local))
    throw velk::datetime::TimeSystemError(
        kDateTimePos, "Cannot convert a file time to system time format:", velk::fromErrno(errno));
  // The wall-clock fields read back as if they were UTC give the local time
  // counted from 1970.
  return timegm(&local);
}

cTaskSchedule convertSchedule(const Schedule& schedule, std::time_t now) {
  cTaskSchedule record;
  if (schedule.object) applyBase(*schedule.object, record);
  convertOwnFields(schedule, now, record);
  return record;
}

std::vector<QuarnValue> cTaskSchedule::values() const {
  std::vector<QuarnValue> fields = {
      QuarnValue::dword("Mode", mode),
      QuarnValue::dword("Type", type),
      QuarnValue::dword("Every", every),
      QuarnValue::word("MinutesCount", minutesCount),
      QuarnValue::word("HoursCount", hoursCount),
      QuarnValue::dword("DaysCount", daysCount),
      QuarnValue::dword("MonthsCount", monthsCount),
  };
  for (int day = 0; day < 7; ++day)
    fields.push_back(QuarnValue::boolean("WeekDay" + std::to_string(day), weekDays[day]));
  fields.insert(fields.end(), {
                                  QuarnValue::signedDword("Time", time),
                                  QuarnValue::signedDword("LastRunTime", lastRunTime),
                                  QuarnValue::boolean("UseTime", useTime),
                                  QuarnValue::boolean("RaiseIfSkipped", raiseIfSkipped),
                                  QuarnValue::dword("StartDelta", startDelta),
                                  QuarnValue::dword("PrepareStartDelta", prepareStartDelta),
                                  QuarnValue::dword("WorkingTimeout", workingTimeout),
                                  QuarnValue::dword("StartDelay", startDelay),
                                  QuarnValue::boolean("NeedInternet", needInternet),
                                  QuarnValue::dword("ExtScheduleFlags", extScheduleFlags),
                              });
  return fields;
}

}  // namespace app_core

#include "writers/legacy/schedule_converter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "velk/exception.h"

namespace app_core {
namespace {

using namespace velk::scheduler;

constexpr std::time_t kNoon2024_03_05 = 1709640000;  // 2024-03-05 12:00:00 UTC
constexpr std::time_t kMidnight2024_03_05 = 1709596800;

template <class T>
Schedule scheduleOf(const T& object) {
  return Schedule{T::kTypeId, std::make_shared<T>(object)};
}

// Sets the TZ variable for one test and restores it afterwards.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (saved_)
      setenv("TZ", saved_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

uint64_t fileTimeOf(int64_t unixSeconds) { return uint64_t(unixSeconds + 11644473600) * 10000000; }

TEST(ScheduleConverter, RecordStartsFromTheLegacyInitialValues) {
  cTaskSchedule record;
  std::vector<std::string> texts;
  for (const QuarnValue& value : record.values())
    texts.push_back(std::string(value.element) + " " + value.name + "=" + value.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"tDWORD Mode=0",           "tDWORD Type=2",
                                             "tDWORD Every=0",          "tWORD MinutesCount=1",
                                             "tWORD HoursCount=1",      "tDWORD DaysCount=1",
                                             "tDWORD MonthsCount=1",    "tBOOL WeekDay0=0",
                                             "tBOOL WeekDay1=0",        "tBOOL WeekDay2=0",
                                             "tBOOL WeekDay3=0",        "tBOOL WeekDay4=0",
                                             "tBOOL WeekDay5=0",        "tBOOL WeekDay6=0",
                                             "tDWORD Time=0",           "tDWORD LastRunTime=0",
                                             "tBOOL UseTime=1",         "tBOOL RaiseIfSkipped=0",
                                             "tDWORD StartDelta=0",     "tDWORD PrepareStartDelta=0",
                                             "tDWORD WorkingTimeout=0", "tDWORD StartDelay=0",
                                             "tBOOL NeedInternet=0",    "tDWORD ExtScheduleFlags=0"}));
}

TEST(ScheduleConverter, SignedTimeKeepsItsSign) {
  cTaskSchedule record;
  record.time = -3600;
  EXPECT_EQ(record.values()[14].name, "Time");
  EXPECT_EQ(record.values()[14].text, "-3600");
}

TEST(ScheduleConverter, BaseFlagsGiveModeRaiseIfSkippedAndStartDelta) {
  OnStartSchedule schedule;
  schedule.postponeTime = 2999;
  cTaskSchedule plain = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(plain.mode, 1u);
  EXPECT_FALSE(plain.raiseIfSkipped);
  EXPECT_EQ(plain.startDelta, 0u);  // the postpone flag is clear

  schedule.flags = 0x7;
  cTaskSchedule flagged = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(flagged.mode, 0u);
  EXPECT_TRUE(flagged.raiseIfSkipped);
  EXPECT_EQ(flagged.startDelta, 2u);
}

TEST(ScheduleConverter, OnStartDelayInWholeMinutes) {
  OnStartSchedule schedule;
  schedule.delayInSeconds = 179;
  cTaskSchedule record = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(record.type, 6u);
  EXPECT_EQ(record.startDelay, 2u);
  EXPECT_EQ(record.time, 0);
}

TEST(ScheduleConverter, WeeklyDaysAreTheLowSevenBits) {
  WeeklySchedule schedule;
  schedule.weekDays = 0x41;
  schedule.timeOfDay = 3600;
  cTaskSchedule record = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(record.type, 3u);
  const bool expected[7] = {true, false, false, false, false, false, true};
  for (int day = 0; day < 7; ++day) EXPECT_EQ(record.weekDays[day], expected[day]) << day;
  EXPECT_EQ(record.time, kMidnight2024_03_05 + 3600);
}

TEST(ScheduleConverter, TimesOfDayCountFromTodaysUtcMidnight) {
  DailySchedule schedule;
  schedule.periodInDays = 3;
  schedule.timeOfDay = 45296;  // 12:34:56
  std::time_t before = std::time(nullptr);
  cTaskSchedule record = convertSchedule(scheduleOf(schedule), std::time(nullptr));
  std::time_t after = std::time(nullptr);
  EXPECT_EQ(record.type, 2u);
  EXPECT_EQ(record.daysCount, 3u);
  EXPECT_EQ(record.every, 0u);
  // The run may straddle midnight: either date is right.
  int64_t today = before - before % 86400;
  int64_t tomorrow = after - after % 86400;
  EXPECT_TRUE(record.time == today + 45296 || record.time == tomorrow + 45296) << record.time;
  EXPECT_EQ(record.time % 86400, 45296);
}

TEST(ScheduleConverter, SecondsBelowTheMinuteCounterLimitCountMinutes) {
  SecondsSchedule schedule;
  schedule.periodInSeconds = 3932159;
  cTaskSchedule record = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(record.type, 0u);
  EXPECT_EQ(record.minutesCount, 65535);
  EXPECT_EQ(record.hoursCount, 1);
}

TEST(ScheduleConverter, SecondsFromTheLimitCountHours) {
  SecondsSchedule schedule;
  schedule.periodInSeconds = 3932160;
  cTaskSchedule record = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(record.type, 1u);
  EXPECT_EQ(record.hoursCount, 1092);
  EXPECT_EQ(record.minutesCount, 1);
}

TEST(ScheduleConverter, HoursBeyondTheCounterKeepTheLongestPeriod) {
  SecondsSchedule schedule;
  schedule.periodInSeconds = 0xFFFFFFFF;
  EXPECT_EQ(convertSchedule(scheduleOf(schedule), kNoon2024_03_05).hoursCount, 65535);
}

TEST(ScheduleConverter, MonthlyDayIsTheLowestDayGiven) {
  MonthlySchedule schedule;
  schedule.timeOfDay = 60;
  schedule.monthDays = 0x10;
  cTaskSchedule record = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
  EXPECT_EQ(record.type, 5u);
  EXPECT_EQ(record.daysCount, 5u);
  EXPECT_EQ(record.time, kMidnight2024_03_05 + 60);
  schedule.monthDays = 0x80000010;
  EXPECT_EQ(convertSchedule(scheduleOf(schedule), kNoon2024_03_05).daysCount, 5u);
  schedule.monthDays = 0x80000000;
  EXPECT_EQ(convertSchedule(scheduleOf(schedule), kNoon2024_03_05).daysCount, 32u);
  schedule.monthDays = 0;
  EXPECT_EQ(convertSchedule(scheduleOf(schedule), kNoon2024_03_05).daysCount, 0u);
}

TEST(ScheduleConverter, ExactTimeIsTheLocalWallClockTime) {
  ExactTimeSchedule schedule;
  schedule.exactTime = fileTimeOf(kNoon2024_03_05) + 9999999;  // fractions of a second are dropped
  {
    TimeZone zone("UTC0");
    cTaskSchedule record = convertSchedule(scheduleOf(schedule), kNoon2024_03_05);
    EXPECT_EQ(record.type, 4u);
    EXPECT_EQ(record.time, kNoon2024_03_05);
  }
  {
    TimeZone zone("<+03>-3");
    EXPECT_EQ(convertSchedule(scheduleOf(schedule), 0).time, kNoon2024_03_05 + 3 * 3600);
  }
  {
    TimeZone zone("EST5EDT,M3.2.0,M11.1.0");  // standard time in early March, summer time in July
    EXPECT_EQ(convertSchedule(scheduleOf(schedule), 0).time, kNoon2024_03_05 - 5 * 3600);
    schedule.exactTime = fileTimeOf(1720000000);
    EXPECT_EQ(convertSchedule(scheduleOf(schedule), 0).time, 1720000000 - 4 * 3600);
  }
}

TEST(ScheduleConverter, ExactTimeBeforeNineteenSeventyIsNegative) {
  TimeZone zone("UTC0");
  ExactTimeSchedule schedule;
  schedule.exactTime = fileTimeOf(-86400);
  EXPECT_EQ(convertSchedule(scheduleOf(schedule), 0).time, -86400);
}

TEST(ScheduleConverter, UnsetOrOutOfRangeExactTimesFailTheCheck) {
  TimeZone zone("UTC0");
  for (uint64_t fileTime : {uint64_t(0), ~uint64_t(0), fileTimeOf(int64_t(1) << 31)}) {
    ExactTimeSchedule schedule;
    schedule.exactTime = fileTime;
    try {
      convertSchedule(scheduleOf(schedule), 0);
      ADD_FAILURE() << fileTime;
    } catch (const velk::CheckFailedException& e) {
      EXPECT_STREQ(e.position().file, "components/common/include/common/velk_quarn/schedule_converter");
      EXPECT_EQ(e.position().line, 196u);
    }
  }
  ExactTimeSchedule last;
  last.exactTime = fileTimeOf((int64_t(1) << 31) - 1);
  EXPECT_EQ(convertSchedule(scheduleOf(last), 0).time, 0x7FFFFFFF);
}

}  // namespace
}  // namespace app_core

#include <gtest/gtest.h>

#include "db_test_support.h"
#include "schedule/schedule_id.h"
#include "writers/db/velk_tasks_writer.h"

namespace app_core {
namespace {

using testing::document;

// The reference rule spelled out bit by bit: CRC-32 over UTF-16LE code
// units, register starting at 0, no final complement.
uint32_t bitwiseScheduleId(const std::u16string& name) {
  uint32_t crc = 0;
  for (char16_t unit : name) {
    for (uint8_t byte : {uint8_t(unit & 0xFF), uint8_t(unit >> 8)}) {
      crc ^= byte;
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0);
    }
  }
  return crc;
}

TEST(ScheduleId, CrcOverUtf16CodeUnitsWithoutPresetOrComplement) {
  EXPECT_EQ(scheduleId(""), 0u);
  EXPECT_EQ(scheduleId("o"), 0xE2657768u);
  EXPECT_EQ(scheduleId("Update"), bitwiseScheduleId(u"Update"));
  EXPECT_EQ(scheduleId("\xC3\xA9t\xC3\xA9"), bitwiseScheduleId(u"\u00E9t\u00E9"));
  EXPECT_EQ(scheduleId("\xF0\x9F\x98\x80x"), bitwiseScheduleId(u"\U0001F600x"));  // a surrogate pair
}

class SchedulerDataTest : public ::testing::Test {
 protected:
  testing::TempDirectory dir;
  testing::ModelSource source{dir};
  testing::Database settings{dir.path("settings.kvdb")};
  testing::Database storage{dir.path("storage.kvdb")};

  velk::result_t write(const ConfigurationModel& model) {
    VelkTasksWriter writer(settings.context(), storage.context(), source.adapters.get(), source.serializer.get());
    return writer.write(model);
  }
};

const std::string kConditions =
    R"(<conditions from="0" duration="0" weekDays="0" monthDays="0" scheduleFrom="0" scheduleTo="0" />)";
const std::string kBase = R"(flags="0" executionCount="0" postponeTime="0" timeType="0")";

TEST_F(SchedulerDataTest, DailyWeeklyAndOnTaskCompleteSchedules) {
  auto model = source.build(R"(
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="1"/>
<task_type name="t" component="c"/>
<on_demand_task name="daily" type="t">
  <schedule unique_id="0x8AFDEF28"><periodInDays>2</periodInDays><timeOfDay>3600</timeOfDay></schedule>
</on_demand_task>
<on_demand_task name="unscheduled" type="t"/>
<on_demand_task name="after" type="t">
  <schedule unique_id="0x9784FBB7"><taskName>daily</taskName>
    <taskMustCompleteSuccessfully>1</taskMustCompleteSuccessfully></schedule>
</on_demand_task>
<on_demand_task name="weekly" type="t">
  <schedule unique_id="0xD6426858"><weekDays>5</weekDays><timeOfDay>60</timeOfDay>
    <conditions><from>7</from></conditions></schedule>
</on_demand_task>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  const std::string daily = R"(<schedule unique_id="2331897640" )" + kBase + R"( periodInDays="2" timeOfDay="3600">)";
  const std::string after =
      R"(<schedule unique_id="2542074807" )" + kBase + R"( taskName="daily" taskMustCompleteSuccessfully="1">)";
  const std::string weekly = R"(<schedule unique_id="3594676312" )" + kBase + R"( weekDays="5" timeOfDay="60">)";
  const std::string weeklyConditions =
      R"(<conditions from="7" duration="0" weekDays="0" monthDays="0" scheduleFrom="0" scheduleTo="0" />)";
  const std::string dailyId = std::to_string(scheduleId("daily"));
  const std::string weeklyId = std::to_string(scheduleId("weekly"));
  EXPECT_EQ(dailyId, "1690030265");
  EXPECT_EQ(storage.record("app_core.scheduler.TaskScheduler"),
            document({
                "<root>",
                R"(    <schedule_data unique_id="2275257162">)",
                "        <defaultScheduleList>",
                R"(            <item unique_id="3986168469" taskName="daily">)",
                "                " + daily,
                "                    " + kConditions,
                "                </schedule>",
                "            </item>",
                "        </defaultScheduleList>",
                "        <scheduleList>",
                R"(            <item unique_id="2322304977" scheduleId=")" + dailyId + R"(" taskName="daily" />)",
                R"(            <item unique_id="2322304977" scheduleId=")" + weeklyId + R"(" taskName="weekly" />)",
                "        </scheduleList>",
                "        <defaultScheduleList>",
                R"(            <item unique_id="3986168469" taskName="after">)",
                "                " + after,
                "                    " + kConditions,
                "                </schedule>",
                "            </item>",
                "        </defaultScheduleList>",
                "        <onCompleteScheduleList>",
                R"(            <item unique_id="91352551" taskName="after">)",
                "                " + after,
                "                    " + kConditions,
                "                </schedule>",
                "            </item>",
                "        </onCompleteScheduleList>",
                "        <defaultScheduleList>",
                R"(            <item unique_id="3986168469" taskName="weekly">)",
                "                " + weekly,
                "                    " + weeklyConditions,
                "                </schedule>",
                "            </item>",
                "        </defaultScheduleList>",
                "    </schedule_data>",
                "</root>",
            }));
  const std::string receiver = R"(scheduleReceiverId="8B4AAF4BD13C404DBB908C891D4F821C")";
  EXPECT_EQ(storage.record("velk.scheduler.Scheduler"),
            document({
                "<root>",
                "    <schedules>",
                R"(        <descriptor unique_id="3583462968" lastDeliveryTimeForStorage="0">)",
                R"(            <schedule unique_id="337395052" scheduleId=")" + dailyId + "\" " + receiver + ">",
                "                " + daily,
                "                    " + kConditions,
                "                </schedule>",
                "            </schedule>",
                "        </descriptor>",
                R"(        <descriptor unique_id="3583462968" lastDeliveryTimeForStorage="0">)",
                R"(            <schedule unique_id="337395052" scheduleId=")" + weeklyId + "\" " + receiver + ">",
                "                " + weekly,
                "                    " + weeklyConditions,
                "                </schedule>",
                "            </schedule>",
                "        </descriptor>",
                "    </schedules>",
                "</root>",
            }));
}

TEST_F(SchedulerDataTest, OnlyOnTaskCompleteSchedulesLeaveTheFrameworkSchedulerAlone) {
  auto model = source.build(R"(
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="1"/>
<task_type name="t" component="c"/>
<on_demand_task name="first" type="t"/>
<on_demand_task name="after" type="t">
  <schedule unique_id="0x9784FBB7"><taskName>first</taskName></schedule>
</on_demand_task>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  EXPECT_FALSE(storage.record("velk.scheduler.Scheduler"));
  const std::string record = *storage.record("app_core.scheduler.TaskScheduler");
  EXPECT_EQ(record.find("<scheduleList"), std::string::npos);
  EXPECT_NE(record.find(R"(<item unique_id="91352551" taskName="after">)"), std::string::npos);
}

}  // namespace
}  // namespace app_core

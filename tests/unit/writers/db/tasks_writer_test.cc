#include <gtest/gtest.h>

#include "db_test_support.h"
#include "writers/db/velk_tasks_writer.h"

namespace app_core {
namespace {

using testing::document;
using Keys = std::vector<std::string>;

const std::string kComponents = R"(
<assembly name="a" module="m"><component name="c"/><component name="sc"/></assembly>
<component name="c" clsid="1"/>
<component name="sc" clsid="0x2A" construct_iid="3" settings_typeid="0x77"/>
)";

class TasksWriterTest : public ::testing::Test {
 protected:
  testing::TempDirectory dir;
  testing::ModelSource source{dir};
  testing::Database settings{dir.path("settings.kvdb")};
  testing::Database storage{dir.path("storage.kvdb")};

  velk::result_t write(const ConfigurationModel& model) {
    VelkTasksWriter writer(settings.context(), storage.context(), source.adapters.get(), source.serializer.get());
    return writer.write(model);
  }
  std::optional<std::string> registry() { return storage.record("app_core.task_manager.TaskTypeRegistry"); }
};

// The item of a type on component "c" without anything optional.
std::vector<std::string> plainItem(const std::string& name, const std::string& kind) {
  return {"        <item>",
          "            <type>" + name + "</type>",
          "            <kind>" + kind + "</kind>",
          "            <default_settings_level>0</default_settings_level>",
          "            <clsid>0x00000001</clsid>",
          "        </item>"};
}

std::string registryOf(const std::vector<std::vector<std::string>>& items) {
  std::vector<std::string> lines = {"<root>", "    <task_types>"};
  for (const auto& item : items) lines.insert(lines.end(), item.begin(), item.end());
  lines.insert(lines.end(), {"    </task_types>", "</root>"});
  return document(lines);
}

TEST_F(TasksWriterTest, RegistryHasAnItemPerTaskAndThenOnePerType) {
  auto model = source.build(kComponents + R"(
<task_type name="t" component="c"/>
<task_type name="unused" component="c"/>
<on_demand_task name="o1" type="t"/>
<on_demand_task name="o2" type="t"/>
<monitoring_task name="m" component="c"/>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  auto t = plainItem("t", "on-demand");
  auto m = plainItem("m", "monitor");
  EXPECT_EQ(registry(), registryOf({t, t, m, t, plainItem("unused", "on-demand"), m}));
}

TEST_F(TasksWriterTest, RegistryItemListsInterfacesClassSettingsAndDependencies) {
  auto model = source.build(kComponents + R"(
<task_type name="tt" component="sc">
  <statistics typeid="1" iid="0x10"/>
  <statistics typeid="2" iid="0x20"/>
  <event typeid="5" iid="0x50"/>
  <request typeid="7" iid="0x70"/>
  <depends key="0x99"/>
  <settings>
    <common unique_id="0x77"><a>1</a><b>2</b></common>
    <level name="default"><b>20</b><c>30</c>text</level>
    <level name="high"><h x="1"/></level>
    <level name="low"/>
  </settings>
</task_type>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  // Settings nodes are copied as they stand in the sources, attributes and
  // all; "unique_id" is the settings type of the component.
  EXPECT_EQ(registry(), registryOf({{
                            "        <item>",
                            "            <type>tt</type>",
                            "            <kind>on-demand</kind>",
                            "            <default_settings_level>0</default_settings_level>",
                            "            <statistics>",
                            "                <item>",
                            "                    <serid>0x00000001</serid>",
                            "                    <iid>0x00000010</iid>",
                            "                </item>",
                            "                <item>",
                            "                    <serid>0x00000002</serid>",
                            "                    <iid>0x00000020</iid>",
                            "                </item>",
                            "            </statistics>",
                            "            <events>",
                            "                <item>",
                            "                    <serid>0x00000005</serid>",
                            "                    <iid>0x00000050</iid>",
                            "                </item>",
                            "            </events>",
                            "            <requests>",
                            "                <item>",
                            "                    <serid>0x00000007</serid>",
                            "                    <iid>0x00000070</iid>",
                            "                </item>",
                            "            </requests>",
                            "            <clsid>0x0000002a</clsid>",
                            "            <settings>",
                            R"(                <reset unique_id="119">)",
                            "                    <a>1</a>",
                            "                    <b>2</b>",
                            "                </reset>",
                            R"(                <level0 name="default" unique_id="119">)",
                            "                    <b>20</b>",
                            "                    <c>30</c>",
                            "                    text",
                            "                </level0>",
                            R"(                <level2 name="high" unique_id="119">)",
                            R"(                    <h x="1" />)",
                            "                </level2>",
                            R"(                <level1 name="low" unique_id="119" />)",
                            "            </settings>",
                            "            <depends>",
                            "                <item>0x00000099</item>",
                            "            </depends>",
                            "        </item>",
                        }}));
}

TEST_F(TasksWriterTest, ProfileOfEachTask) {
  auto model = source.build(kComponents + R"(
<task_type name="t" component="c"/>
<on_demand_task name="o" type="t" trace_prefix="O"/>
<monitoring_task name="m" component="c" is_start_allowed="false"/>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  const std::string profiles = "app_core.task_manager.TaskManager/profiles/";
  EXPECT_EQ(storage.record(profiles + "o"),
            document({R"(<root host="0x00000002" tracer_prefix="O" type="t" enabled="1" settings_level="0" />)"}));
  EXPECT_EQ(storage.record(profiles + "m"),
            document({R"(<root host="0x00000002" type="m" enabled="0" settings_level="0" />)"}));
  EXPECT_EQ(storage.keys(), (Keys{"app_core.task_manager.TaskTypeRegistry", profiles + "o", profiles + "m",
                                  "app_core.scheduler.TaskScheduler"}));
}

TEST_F(TasksWriterTest, TaskSettingsOverlayTheTypeAndTaskDefaultLevels) {
  auto model = source.build(kComponents + R"(
<task_type name="tt" component="sc">
  <settings>
    <common><a>1</a></common>
    <level name="default"><b>20</b><c>30</c></level>
    <level name="default"><b>never</b></level>
  </settings>
</task_type>
<on_demand_task name="o" type="tt">
  <settings>
    <common><a>100</a><n><x>1</x></n></common>
    <level name="high"><h>2</h></level>
    <level name="default"><c>300</c><d>400</d><n><y>2</y></n></level>
    <level name="7"><s>7</s></level>
  </settings>
</on_demand_task>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  // The common part, overlaid by the type's first default level, overlaid by
  // the task's own; the level's attributes are values like any other.
  const std::string overlaid = document({
      R"(<root a="100" unique_id="119" name="default" b="20" c="300" d="400">)",
      R"(    <n x="1" y="2" />)",
      R"(</root>)",
  });
  EXPECT_EQ(settings.record("o/settings"), overlaid);
  EXPECT_EQ(settings.record("o/factory_settings"), overlaid);
  EXPECT_EQ(settings.record("o/settings_level_2"), document({R"(<root name="high" h="2" unique_id="119" />)"}));
  EXPECT_EQ(settings.record("o/settings_level_0"), document({
                                                       R"(<root name="default" c="300" d="400" unique_id="119">)",
                                                       R"(    <n y="2" />)",
                                                       R"(</root>)",
                                                   }));
  EXPECT_EQ(settings.record("o/settings_level_7"), document({R"(<root name="7" s="7" unique_id="119" />)"}));
  EXPECT_EQ(settings.keys(), (Keys{"o/settings", "o/factory_settings", "o/settings_level_2", "o/settings_level_0",
                                   "o/settings_level_7"}));
}

TEST_F(TasksWriterTest, CommonSettingsAloneGiveNoLevelKeys) {
  auto model = source.build(kComponents + R"(
<task_type name="tt" component="sc"><settings><common/></settings></task_type>
<on_demand_task name="o" type="tt"><settings><common><a>1</a></common></settings></on_demand_task>
<monitoring_task name="m" component="c"/>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  EXPECT_EQ(settings.keys(), (Keys{"o/settings", "o/factory_settings"}));
  EXPECT_EQ(settings.record("o/settings"), document({R"(<root a="1" unique_id="119" />)"}));
}

TEST_F(TasksWriterTest, TaskWithoutSettingsGetsTheTypeDefaultLevel) {
  auto model = source.build(kComponents + R"(
<task_type name="tt" component="sc">
  <settings><common><a>1</a></common><level name="default"><b>2</b></level></settings>
</task_type>
<on_demand_task name="o" type="tt"/>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  // The task's own settings are the empty ones the model gives it.
  EXPECT_EQ(settings.record("o/settings"), document({R"(<root unique_id="119" name="default" b="2" />)"}));
  EXPECT_EQ(settings.keys(), (Keys{"o/settings", "o/factory_settings"}));
}

TEST_F(TasksWriterTest, NoTasksStillWritesTypesAndTheScheduleDataMarker) {
  auto model = source.build(kComponents + R"(<task_type name="t" component="c"/>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  EXPECT_EQ(registry(), registryOf({plainItem("t", "on-demand")}));
  EXPECT_EQ(storage.record("app_core.scheduler.TaskScheduler"),
            document({"<root>", R"(    <schedule_data unique_id="2275257162" />)", "</root>"}));
  EXPECT_EQ(storage.keys(), (Keys{"app_core.task_manager.TaskTypeRegistry", "app_core.scheduler.TaskScheduler"}));
  EXPECT_TRUE(settings.keys().empty());
}

TEST_F(TasksWriterTest, SecondWriteAppendsToWhatIsThere) {
  auto model = source.build(kComponents + R"(
<task_type name="t" component="c"/>
<on_demand_task name="o" type="t">
  <schedule unique_id="0x874A7FAA"><periodInSeconds>30</periodInSeconds></schedule>
</on_demand_task>)");
  ASSERT_EQ(write(model), velk::errors::kOk);
  const auto firstScheduler = storage.record("velk.scheduler.Scheduler");
  storage.close();
  storage.reopen();
  ASSERT_EQ(write(model), velk::errors::kOk);
  auto t = plainItem("t", "on-demand");
  EXPECT_EQ(registry(), registryOf({t, t, t, t}));
  const std::string schedule =
      R"(<schedule unique_id="2269806506" flags="0" executionCount="0" postponeTime="0" timeType="0" )"
      R"(periodInSeconds="30">)";
  const std::vector<std::string> defaultList = {
      "        <defaultScheduleList>",
      R"(            <item unique_id="3986168469" taskName="o">)",
      "                " + schedule,
      R"(                    <conditions from="0" duration="0" weekDays="0" monthDays="0" scheduleFrom="0" )"
      R"(scheduleTo="0" />)",
      "                </schedule>",
      "            </item>",
      "        </defaultScheduleList>",
  };
  const std::string listItem = R"(            <item unique_id="2322304977" scheduleId="3798300520" taskName="o" />)";
  std::vector<std::string> lines = {"<root>", R"(    <schedule_data unique_id="2275257162">)"};
  lines.insert(lines.end(), defaultList.begin(), defaultList.end());
  lines.insert(lines.end(), {"        <scheduleList>", listItem, listItem, "        </scheduleList>"});
  lines.insert(lines.end(), defaultList.begin(), defaultList.end());
  lines.insert(lines.end(), {"    </schedule_data>", "</root>"});
  EXPECT_EQ(storage.record("app_core.scheduler.TaskScheduler"), document(lines));
  ASSERT_TRUE(firstScheduler);
  const std::string descriptors = firstScheduler->substr(firstScheduler->find("        <descriptor"));
  const std::string twice = firstScheduler->substr(0, firstScheduler->find("    </schedules>")) +
                            descriptors.substr(0, descriptors.find("    </schedules>")) +
                            "    </schedules>\r\n</root>\r\n";
  EXPECT_EQ(storage.record("velk.scheduler.Scheduler"), twice);
}

}  // namespace
}  // namespace app_core

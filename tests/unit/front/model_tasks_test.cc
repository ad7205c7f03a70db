#include <gtest/gtest.h>

#include "harness.h"

namespace app_core {
namespace {

using Lines = std::vector<std::string>;
using testing::Harness;

ConfigurationModel buildFrom(Harness& h, const std::string& xml) {
  h.read(xml);
  h.reporter->reports.clear();
  return h.build();
}

// Components "c" (no settings type) and "sc" (settings type 0x77).
const char* kPrelude = R"(<root>
<assembly name="a" module="m"><component name="c"/><component name="sc"/></assembly>
<component name="c" clsid="1"/>
<component name="sc" clsid="2" construct_iid="3" settings_typeid="0x77"/>
)";

// The body's first line follows the prelude directly.
std::string withPrelude(const std::string& body) {
  return std::string(kPrelude) + (body.front() == '\n' ? body.substr(1) : body) + "</root>";
}

TEST(ModelTaskTypes, IdenticalInterfaceEntriesAreDropped) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<task_type name="t" component="c">
  <statistics typeid="1" iid="10"/>
  <statistics typeid="2" iid="10"/>
  <statistics typeid="1" iid="11"/>
  <event typeid="5" iid="50"/>
  <event typeid="5" iid="51"/>
  <request typeid="7" iid="70"/>
  <request typeid="8" iid="71"/>
</task_type>
<task_type name="t" component="c"/>
<task_type name="u" component="none"/>)"));
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(7): 't' has statistics with identical field 'iid' or 'serid' at a.xml(6)",
                   "E a.xml(8): 't' has statistics with identical field 'iid' or 'serid' at a.xml(6)",
                   "E a.xml(10): 't' has events with identical field 'iid' or 'serid' at a.xml(9)",
                   "E a.xml(14): 't' is already defined at a.xml(5)",
                   "E a.xml(15): Reference to undefined component 'none'"}));
  ASSERT_EQ(model.taskTypes.size(), 1u);
  const ModelTaskType& type = model.taskTypes[0];
  ASSERT_EQ(type.statistics.size(), 1u);
  EXPECT_EQ(type.statistics[0].typeId, 1u);
  EXPECT_EQ(type.events.size(), 1u);
  EXPECT_EQ(type.requests.size(), 2u);
  EXPECT_FALSE(type.monitoring);
  EXPECT_EQ(model.components.find("c")->taskTypeCount, 1u);
}

TEST(ModelTaskTypes, InlineSettingsNeedTheComponentSettingsType) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<task_type name="t1" component="sc">
  <settings><level name="high"/><common/><level name="5"/></settings>
  <quarn_settings><x/></quarn_settings>
</task_type>
<task_type name="t2" component="c"><settings><common/></settings></task_type>)"));
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(9): Attribute 'settings_typeid' is missed in component 'c' "
                                        "defined at a.xml(3)"}));
  const ModelTaskType& t1 = *model.taskTypes.find("t1");
  ASSERT_TRUE(t1.settings);
  EXPECT_EQ(t1.settings->settingsTypeId, 0x77u);
  ASSERT_EQ(t1.settings->levels.size(), 3u);
  EXPECT_EQ(t1.settings->levels[0].level, kCommonSettingsLevel);
  EXPECT_EQ(t1.settings->levels[1].level, 2u);
  EXPECT_EQ(t1.settings->levels[2].level, 5u);
  ASSERT_TRUE(t1.quarnSettings);
  EXPECT_EQ(helpers::locationText(t1.quarnSettings->location.get()), "a.xml(7)");
  EXPECT_FALSE(model.taskTypes.find("t2")->settings);
}

TEST(ModelTasks, OnDemandTasks) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<task_type name="tt" component="c"/>
<on_demand_task name="o1" type="tt" trace_prefix="P" quarn_registry_path="A//B">
  <schedule unique_id="0x874A7FAA"><periodInSeconds>30</periodInSeconds></schedule>
</on_demand_task>
<on_demand_task name="o1" type="tt"/>
<on_demand_task name="o3" type="none"/>
<on_demand_task name="o4" type="tt"><settings><common/></settings></on_demand_task>)"));
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(9): 'o1' is already defined at a.xml(6)",
                                        "E a.xml(10): Reference to undefined task type 'none'",
                                        "E a.xml(11): Attribute 'settings_typeid' is missed in component 'c' "
                                        "defined at a.xml(3)"}));
  ASSERT_EQ(model.tasks.size(), 2u);
  const ModelTask& o1 = model.tasks[0];
  EXPECT_EQ(o1.host, kMainHostId);
  EXPECT_TRUE(o1.startAllowed);
  EXPECT_EQ(o1.tracerPrefix, "P");
  EXPECT_EQ(o1.quarnRegistryPath, (std::vector<std::string>{"A", "", "B"}));
  EXPECT_EQ(model.taskTypeOf(o1).name, "tt");
  ASSERT_TRUE(o1.schedule);
  EXPECT_EQ(o1.schedule->schedule.typeId, 0x874A7FAAu);
  EXPECT_EQ(helpers::locationText(o1.schedule->location.get()), "a.xml(7)");
  EXPECT_TRUE(model.tasks[1].quarnRegistryPath.empty());
  EXPECT_FALSE(model.tasks[1].settings);
}

TEST(ModelTasks, MonitoringTasksBringTheirOwnTaskType) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<task_type name="tt" component="c"/>
<on_demand_task name="o" type="tt"/>
<monitoring_task name="m1" component="sc" is_start_allowed="false" quarn_registry_path="X">
  <statistics typeid="1" iid="2"/>
  <statistics typeid="3" iid="2"/>
  <settings><common/></settings>
</monitoring_task>
<monitoring_task name="o" component="c"/>
<monitoring_task name="tt" component="c"><depends key="1"/></monitoring_task>
<monitoring_task name="m4" component="none"/>
<monitoring_task name="m5" component="c"/>)"));
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(9): 'm1' has statistics with identical field 'iid' or 'serid' at a.xml(8)",
                   "E a.xml(12): 'o' is already defined at a.xml(6)",
                   "E a.xml(13): 'tt' is already defined at a.xml(5)",
                   "E a.xml(14): Reference to undefined component 'none'"}));
  ASSERT_EQ(model.tasks.size(), 3u);
  ASSERT_EQ(model.taskTypes.size(), 3u);
  const ModelTask& m1 = *model.tasks.find("m1");
  EXPECT_FALSE(m1.startAllowed);
  EXPECT_EQ(m1.quarnRegistryPath, (std::vector<std::string>{"X"}));
  ASSERT_TRUE(m1.settings);
  EXPECT_EQ(m1.settings->settingsTypeId, 0x77u);
  const ModelTaskType& type = model.taskTypeOf(m1);
  EXPECT_EQ(type.name, "m1");
  EXPECT_TRUE(type.monitoring);
  EXPECT_EQ(type.statistics.size(), 1u);
  EXPECT_FALSE(type.settings);  // the settings belong to the task
  EXPECT_TRUE(model.tasks.find("m5")->startAllowed);
  // The rejected monitoring task's dependencies do not land on the task type of its name.
  EXPECT_TRUE(model.taskTypes.find("tt")->dependencies.empty());
  EXPECT_EQ(model.components.find("c")->taskTypeCount, 2u);
}

TEST(ModelDependencies, EveryFormOfDepends) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<service name="s" key="0x10" component="c">
  <depends key="5"/>
  <depends name="s2"/>
  <depends name="unknown" key="6"/>
  <depends name="s2" key="0x21"/>
  <depends name="s2" key="0x20" access_point="ap"/>
  <depends/>
  <depends name="nobody"/>
  <depends key="1" access_point="nowhere"/>
</service>
<service name="s2" key="0x20" component="c"/>
<access_point id="0x75C750CE" name="ap" host="main" authorization_service="x"/>
<service name="s" key="0x11" component="c"><depends name="nobody"/></service>
<task_type name="t" component="c"><depends name="s"/></task_type>
<monitoring_task name="m" component="c"><depends key="9" access_point="ap"/></monitoring_task>)"));
  EXPECT_EQ(
      h.reporter->lines(),
      (Lines{"E a.xml(17): 's' is already defined at a.xml(5)",
             "E a.xml(9): 'key' value is different at 'depends' directive and service s2 declaration",
             "E a.xml(11): Missing both attributes 'key' and 'name', but at least one of them is required",
             "E a.xml(12): Found reference to undefined service nobody. Note: you can specify "
             "'key=\"0xhex\"' explicitly.",
             "E a.xml(13): Reference to undefined access_point 'nowhere'"}));
  const auto& deps = model.services.find("s")->dependencies;
  ASSERT_EQ(deps.size(), 4u);
  EXPECT_EQ(deps[0].key, 5u);
  EXPECT_EQ(deps[0].name, "");
  EXPECT_EQ(deps[1].key, 0x20u);
  EXPECT_EQ(deps[1].name, "s2");
  EXPECT_EQ(deps[2].key, 6u);
  EXPECT_EQ(deps[2].name, "unknown");
  EXPECT_EQ(deps[3].accessPoint, 0x75C750CEu);
  EXPECT_EQ(model.taskTypes.find("t")->dependencies[0].key, 0x10u);
  const auto& monitoring = model.taskTypes.find("m")->dependencies;
  ASSERT_EQ(monitoring.size(), 1u);
  EXPECT_EQ(monitoring[0].accessPoint, 0x75C750CEu);
}

TEST(ModelSettings, RootServiceSettings) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<service name="s1" key="1" component="sc"><settings/></service>
<service name="s2" key="2" component="sc"/>
<service name="s3" key="3" component="c"/>
<settings service="s1"/>
<settings service="s2"><x>1</x></settings>
<settings service="s3"/>
<settings service="s9"/>)"));
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(8): 'settings' is already defined at a.xml(5)",
                   "E a.xml(10): Attribute 'settings_typeid' is missed in component 'c' defined at a.xml(3)",
                   "E a.xml(11): Reference to undefined service 's9'"}));
  const ModelService& s2 = *model.services.find("s2");
  ASSERT_TRUE(s2.settings);
  EXPECT_EQ(s2.settings->settingsTypeId, 0x77u);
  EXPECT_EQ(helpers::locationText(s2.settings->location.get()), "a.xml(9)");
  EXPECT_FALSE(model.services.find("s3")->settings);
}

TEST(ModelSettings, RootTaskSettingsPreferTasksAndReplaceInlineOnes) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<task_type name="x" component="sc"><settings><common/><level name="1"/></settings></task_type>
<monitoring_task name="m" component="sc"/>
<on_demand_task name="x" type="x"/>
<settings task="x"><level name="low"/><common/></settings>
<settings task="m"><common/></settings>
<settings task="none"><common/></settings>
<task_type name="y" component="c"/>
<settings task="y"><common/></settings>)"));
  EXPECT_EQ(
      h.reporter->lines(),
      (Lines{"E a.xml(10): Reference to undefined task or task type 'none'",
             "E a.xml(12): Attribute 'settings_typeid' is missed in component 'c' defined at a.xml(3)"}));
  // "x" names both a task type and a task: the task gets the settings.
  const ModelTask& task = *model.tasks.find("x");
  ASSERT_TRUE(task.settings);
  ASSERT_EQ(task.settings->levels.size(), 2u);
  EXPECT_EQ(task.settings->levels[0].level, kCommonSettingsLevel);
  EXPECT_EQ(task.settings->levels[1].level, 1u);
  EXPECT_EQ(model.taskTypes.find("x")->settings->levels.size(), 2u);
  EXPECT_TRUE(model.tasks.find("m")->settings);
  EXPECT_FALSE(model.taskTypes.find("m")->settings);
  EXPECT_FALSE(model.taskTypes.find("y")->settings);
}

TEST(ModelSettings, DefaultSettingsAreEmptyAndLocatedAtNoFile) {
  Harness h;
  ConfigurationModel model = buildFrom(h, withPrelude(R"(
<service name="s" key="1" component="sc"/>
<service name="plain" key="2" component="c"/>
<task_type name="t" component="sc"/>
<monitoring_task name="m" component="sc"/>
<on_demand_task name="o" type="t"/>)"));
  const std::string declared = " is not found (settings type ID was declared in component 'sc' at a.xml(4))";
  EXPECT_EQ(h.reporter->lines(), (Lines{"W a.xml(5): Settings for service 's'" + declared,
                                        "W a.xml(7): Settings for task type 't'" + declared,
                                        "W a.xml(9): Settings for task 'o'" + declared,
                                        "W a.xml(8): Settings for task 'm'" + declared}));
  const ModelService& s = *model.services.find("s");
  ASSERT_TRUE(s.settings);
  EXPECT_EQ(helpers::locationText(s.settings->location.get()), "[no file](0)");
  EXPECT_EQ(s.settings->settingsTypeId, 0x77u);
  uint32_t count = 1;
  EXPECT_EQ(s.settings->node->GetNodesCount(&count), velk::errors::kOk);
  EXPECT_EQ(count, 0u);
  uint32_t size = 0;
  EXPECT_EQ(s.settings->node->GetName(nullptr, &size), velk::errors::kNotSupported);
  EXPECT_FALSE(model.services.find("plain")->settings);
  const ModelTaskType& t = *model.taskTypes.find("t");
  ASSERT_TRUE(t.settings);
  ASSERT_EQ(t.settings->levels.size(), 1u);
  EXPECT_EQ(t.settings->levels[0].level, kCommonSettingsLevel);
  EXPECT_FALSE(model.taskTypes.find("m")->settings);  // monitoring types get none
  EXPECT_TRUE(model.tasks.find("m")->settings);
}

TEST(ModelComponents, MetaAndUpgraderInterfacesOfUsedComponents) {
  Harness h;
  ConfigurationModel model = buildFrom(h, R"(<root>
<assembly name="a" module="m"><component name="used"/><component name="unused"/><component name="exempt"/><component name="task"/></assembly>
<component name="used" clsid="1"><interface name="m" iid="0x2D08D87C"/></component>
<component name="unused" clsid="2"><interface name="m" iid="0x2D08D87C"/></component>
<component name="exempt" clsid="0xD7F83506"><interface name="m" iid="0x2D08D87C"/></component>
<component name="task" clsid="3"><interface name="u" iid="0xA96F285B"/></component>
<service name="s1" key="1" component="used"/>
<service name="s2" key="2" component="exempt"/>
<task_type name="t" component="task"/>
</root>)");
  EXPECT_EQ(
      h.reporter->lines(),
      (Lines{
          "W a.xml(3): Component used has meta or upgrader interfaces and is inherited by service or task",
          "W a.xml(6): Component task has meta or upgrader interfaces and is inherited by service or task"}));
}

TEST(ModelBuilding, FollowOnErrorsOfADroppedComponent) {
  Harness h;
  h.read(R"(<root>
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" settings_iid="1"/>
<service name="s" key="1" component="c"/>
</root>)");
  ConfigurationModel model = h.build();
  EXPECT_EQ(h.reporter->of('E'), (Lines{"E a.xml(3): Missing 'construct_iid' attribute.",
                                        "E a.xml(4): Reference to undefined component 'c'"}));
  EXPECT_TRUE(model.services.empty());
}

}  // namespace
}  // namespace app_core

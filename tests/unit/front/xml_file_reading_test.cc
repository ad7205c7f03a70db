// The reader and the builder over files opened through the XML file storage.
#include <gtest/gtest.h>

#include "harness.h"
#include "temp_directory.h"
#include "xmlfile/open_xml_file.h"

namespace app_core {
namespace {

using Lines = std::vector<std::string>;

class XmlFileReading : public ::testing::Test {
 protected:
  void read(const std::string& path) {
    auto root = helpers::openXmlFile(path, h_.reporter.get(), nullptr);
    ASSERT_TRUE(root);
    readConfiguration(h_.reporter.get(), root.get(), {h_.serializer.get(), h_.adapters.get()}, h_.source);
  }

  testing::TempDirectory directory_;
  testing::Harness h_;
};

TEST_F(XmlFileReading, NumbersThroughTheStorageConversions) {
  std::string path = directory_.write("a.xml", R"(<root>
<service name="a" key="0x0x10" component="c" release_timeout="0x20" lookup_priority="255"/>
<service name="b" key="010" component="c" release_timeout="-1" lookup_priority="256"/>
<task_type name="t" component="c"><settings><common/><level name="0x10"/><level name="x"/></settings></task_type>
</root>)");
  read(path);
  EXPECT_EQ(
      h_.reporter->lines(),
      (Lines{"E " + path + "(3): Invalid format. Expected: release_timeout (optional) = uint32 | 'infinite'",
             "E " + path +
                 "(3): Invalid format. Expected: lookup_priority (optional) = uint8 | 'private' | "
                 "'lowest' | 'low' | 'normal' | 'high' | 'highest'",
             "E " + path + "(4): Invalid format. Expected: name = uint32 | 'default' | 'high' | 'low'",
             "E " + path + "(4): Missing required field: name = uint32 | 'default' | 'high' | 'low'"}));
  const auto& services = h_.source.services;
  EXPECT_EQ(services[0].key, 16u);
  EXPECT_EQ(services[0].releaseTimeout, 0x20u);
  EXPECT_EQ(services[0].lookupPriority, 255);
  EXPECT_EQ(services[1].key, 8u);
  EXPECT_EQ(h_.source.taskTypes[0].settings->levels[0].level, 16u);
}

TEST_F(XmlFileReading, SchedulesAndSettingsKeepTheirNodes) {
  std::string path = directory_.write("a.xml", R"(<root>
<on_demand_task name="t" type="tt">
  <schedule unique_id="0x9784FBB7">
    <taskName>Other</taskName>
    <taskMustCompleteSuccessfully>true</taskMustCompleteSuccessfully>
    <conditions><duration>60</duration></conditions>
  </schedule>
  <settings><common><timeout>5</timeout></common></settings>
</on_demand_task>
</root>)");
  read(path);
  EXPECT_EQ(h_.reporter->lines(), Lines{});
  const SourceOnDemandTask& task = h_.source.onDemandTasks[0];
  const auto* schedule = task.schedule->schedule.as<scheduler::OnTaskCompleteSchedule>();
  ASSERT_NE(schedule, nullptr);
  EXPECT_EQ(schedule->taskName, "Other");
  EXPECT_TRUE(schedule->taskMustCompleteSuccessfully);
  EXPECT_EQ(schedule->conditions.duration, 60u);
  EXPECT_EQ(helpers::locationText(task.schedule->location.get()), path + "(3)");
  // The retained common part reads as values through the values-free adapter.
  velk::Ref<velk::IStorage> adapted;
  ASSERT_EQ(h_.adapters->CreateStorage(task.settings->common->node.get(), adapted.put()), velk::errors::kOk);
  velk::ValueDescriptor timeout;
  timeout.type = velk::kTypeUInt32;
  ASSERT_EQ(adapted->ReadValue("timeout", timeout, 0), velk::errors::kOk);
  EXPECT_EQ(timeout.bits, 5u);
}

TEST_F(XmlFileReading, ValidConfigurationBuildsWithoutDiagnostics) {
  std::string path = directory_.write("a.xml", R"(<root>
<updatable_categories_config>
  <update_category name="bases" container_type="storage"/>
</updatable_categories_config>
<host name="worker" id="3" prototype="true"/>
<assembly name="core" module="core.dll" module_category="bases">
  <component name="engine"/><component name="runner"/>
</assembly>
<component name="engine" clsid="0x100" settings_typeid="0x200" construct_iid="0x300">
  <interface name="core.IEngine" iid="0x400"/>
</component>
<component name="runner" clsid="0x101"/>
<service name="auth" key="0x10" component="engine" autostart="true" create_on_update="true"/>
<service name="engine" key="0x11" lookup_priority="high"><depends name="auth"/></service>
<settings service="auth"><level>1</level></settings>
<settings service="engine"/>
<access_point id="0x20" name="public" host="worker" authorization_service="auth"/>
<access_point_services access_point="public"><link name="engine"/></access_point_services>
<host_services host="worker"><link name="engine"/></host_services>
<task_type name="scan" component="runner"><statistics typeid="1" iid="2"/></task_type>
<on_demand_task name="scan_now" type="scan" quarn_registry_path="a/b">
  <schedule unique_id="0x6E3FBE91"><delayInSeconds>30</delayInSeconds></schedule>
</on_demand_task>
<monitoring_task name="watch" component="runner"/>
</root>)");
  read(path);
  ConfigurationModel model = h_.build();
  EXPECT_EQ(h_.reporter->of('E'), Lines{});
  EXPECT_EQ(h_.reporter->of('W'), (Lines{"W " + path + "(13): Attribute 'autostart' is deprecated"}));
  EXPECT_EQ(model.hosts.size(), 3u);
  const ModelService& engine = *model.services.find("engine");
  EXPECT_EQ(engine.host, 3u);
  EXPECT_EQ(engine.defaultAccessPoint, 0x20u);
  EXPECT_EQ(engine.flags, 0x40000000u);
  EXPECT_EQ(engine.dependencies[0].key, 0x10u);
  EXPECT_EQ(model.services.find("auth")->flags, 0x8000000Cu);
  EXPECT_EQ(model.services.find("auth")->settings->settingsTypeId, 0x200u);
  EXPECT_EQ(model.accessPoints[0].authorizationServiceKey, 0x10u);
  EXPECT_EQ(model.tasks.size(), 2u);
  EXPECT_EQ(model.taskTypes.size(), 2u);
  EXPECT_TRUE(model.tasks.find("scan_now")->schedule);
  EXPECT_EQ(model.components.find("runner")->taskTypeCount, 2u);
}

}  // namespace
}  // namespace app_core

#include <gtest/gtest.h>

#include "harness.h"

namespace app_core {
namespace {

using Lines = std::vector<std::string>;
using testing::Harness;

TEST(ReaderIdentifiers, ServiceKeyAndComponentDefaultFromTheName) {
  Harness h;
  h.read(R"(<root>
<service name="a"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"I a.xml(2): Calculated key='0xe8b7be43' as crc32 of 'a'",
                                        "I a.xml(2): Using component=a (by default)"}));
  ASSERT_EQ(h.source.services.size(), 1u);
  EXPECT_EQ(h.source.services[0].key, 0xE8B7BE43u);
  EXPECT_EQ(h.source.services[0].component, "a");
}

TEST(ReaderIdentifiers, TaskInterfaceComesFromTheFixedTable) {
  Harness h;
  h.read(R"(<root>
<component name="c">
  <interface name="app_core.facade.ITask"/>
  <interface name="x.IFoo" iid="0x0x10"/>
</component>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"I a.xml(2): Calculated clsid='0x06b9df6f' as crc32 of 'c'",
                   "I a.xml(3): Calculated iid='0xa47bf9af' as crc32 of 'app_core.facade.ITask'"}));
  ASSERT_EQ(h.source.components.size(), 1u);
  const SourceComponent& component = h.source.components[0];
  EXPECT_EQ(component.clsid, 0x06B9DF6Fu);
  ASSERT_EQ(component.interfaces.size(), 2u);
  EXPECT_EQ(component.interfaces[0].iid, 0xA47BF9AFu);
  EXPECT_EQ(component.interfaces[1].iid, 16u);
  EXPECT_EQ(helpers::locationText(component.interfaces[1].location.get()), "a.xml(4)");
}

TEST(ReaderAttributes, MalformedRequiredValueIsAlsoMissing) {
  Harness h;
  h.read(R"(<root>
<host name="h" id="3" prototype="TRUE"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): Invalid format. Expected: prototype = 'true' | 'false'",
                                        "E a.xml(2): Missing required field: prototype = 'true' | 'false'"}));
  // The record is kept with what was accepted.
  ASSERT_EQ(h.source.hosts.size(), 1u);
  EXPECT_EQ(h.source.hosts[0].id, 3u);
}

TEST(ReaderAttributes, UnexpectedAttributeListsTheTableInOrder) {
  Harness h;
  h.read(R"(<root>
<host colour="red" name="h" id="010" prototype="true"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): Unexpected 'colour'. Expected:\n"
                                        "    name = string8_t\n"
                                        "    id = uint32_t\n"
                                        "    prototype = 'true' | 'false'"}));
  EXPECT_EQ(h.source.hosts[0].id, 8u);
  EXPECT_TRUE(h.source.hosts[0].prototype);
}

TEST(ReaderAttributes, DuplicateAttributeIsReportedAndTheLaterValueWins) {
  Harness h;
  auto root = testing::parseTestXml("<root>\n<host name='x' id='1 ' prototype='false'/>\n</root>");
  auto* host = root->child("host");
  host->attributes.emplace_back("name", "y");
  host->attributes.emplace_back("id", "4");
  readConfiguration(h.reporter.get(), root.get(), {}, h.source);
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): Invalid format. Expected: id = uint32_t",
                                        "E a.xml(2): Duplicate attribute 'name'"}));
  EXPECT_EQ(h.source.hosts[0].name, "y");
  EXPECT_EQ(h.source.hosts[0].id, 4u);  // the first was rejected, so no duplicate
}

TEST(ReaderAttributes, FailingValueCountIsAStorageErrorWithoutMissingFields) {
  Harness h;
  auto root = testing::parseTestXml("<root>\n<host/>\n</root>");
  root->child("host")->valuesCountResult = velk::errors::kNotFound;
  readConfiguration(h.reporter.get(), root.get(), {}, h.source);
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): XmlStorage error: Not found"}));
}

TEST(ReaderAttributes, UnexaminedPartsPassWithoutMessages) {
  Harness h;
  h.read(R"(<root anything="1">
<updatable_categories_config anything="1"><update_category name="u" container_type="storage"/></updatable_categories_config>
<host name="h" id="3" prototype="false"><whatever x="1"/></host>
<access_point id="1" name="ap" host="h" authorization_service="s"><child/></access_point>
<component name="c" clsid="1"><interface name="i" iid="1"><child/></interface></component>
<task_type name="t" component="c"><settings a="1"><common><free/></common></settings><quarn_settings b="2"><x/></quarn_settings></task_type>
<assembly name="a" module="m"><component name="c"><deep/></component></assembly>
<group name="g"><link name="s"><deep/></link></group>
</root>)");
  EXPECT_EQ(h.reporter->lines(), Lines{});
}

TEST(ReaderAttributes, RecordsWithAttributeErrorsAreStillAppended) {
  Harness h;
  h.read(R"(<root>
<access_point id="x" name="ap" host="h"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(2): Invalid format. Expected: id = uint32_t",
                   "E a.xml(2): Missing required field: id = uint32_t",
                   "E a.xml(2): Missing required field: authorization_service = string8_t"}));
  ASSERT_EQ(h.source.accessPoints.size(), 1u);
  EXPECT_EQ(h.source.accessPoints[0].name, "ap");
}

TEST(ReaderChildren, UnexpectedRootChildListsEveryElement) {
  Harness h;
  h.read(R"(<root>
<servce name="a"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): Unexpected 'servce'. Expected one of:\n"
                                        "    group\n    access_point\n    access_point_services\n"
                                        "    host\n    host_services\n    host_access_points\n"
                                        "    updatable_categories_config\n    assembly\n    component\n"
                                        "    service\n    task_type\n    on_demand_task\n"
                                        "    monitoring_task\n    settings"}));
}

TEST(ReaderChildren, ChildTablesOfServicesAndTasks) {
  Harness h;
  h.read(R"(<root>
<service name="s" key="1" component="c"><bogus/></service>
<task_type name="t" component="c"><bogus/></task_type>
<on_demand_task name="o" type="t"><bogus/></on_demand_task>
<settings task="t"><bogus/><common/></settings>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(2): Unexpected 'bogus'. Expected one of:\n    settings\n    depends",
                   "E a.xml(3): Unexpected 'bogus'. Expected one of:\n    settings\n    quarn_settings\n"
                   "    statistics\n    request\n    event\n    depends",
                   "E a.xml(4): Unexpected 'bogus'. Expected one of:\n    schedule\n    settings\n"
                   "    quarn_settings",
                   "E a.xml(5): Unexpected 'bogus'. Expected one of:\n    common\n    level"}));
}

TEST(ReaderChildren, SingleOccurrenceChildrenReportTheFirstLocation) {
  Harness h;
  h.read(R"(<root>
<service name="s" key="1" component="c">
  <settings unique_id="5"/>
  <settings/>
</service>
<monitoring_task name="m" component="c">
  <quarn_settings/>
  <quarn_settings/>
  <settings><common/></settings>
  <settings><common/></settings>
</monitoring_task>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"W a.xml(3): Attribute 'unique_id' is deprecated",
                                        "E a.xml(4): 'settings' is already defined at a.xml(3)",
                                        "E a.xml(8): 'quarn_settings' is already defined at a.xml(7)",
                                        "E a.xml(10): 'settings' is already defined at a.xml(9)"}));
  ASSERT_TRUE(h.source.services[0].settings);
  EXPECT_EQ(helpers::locationText(h.source.services[0].settings->location.get()), "a.xml(3)");
}

TEST(ReaderValues, TimeoutAndPriorityKeywordsAndNumbers) {
  Harness h;
  h.read(R"(<root>
<service name="a" key="1" component="c" release_timeout="infinite" lookup_priority="highest"/>
<service name="b" key="2" component="c" release_timeout="0x20" lookup_priority="7"/>
<service name="c" key="3" component="c" release_timeout="soon" lookup_priority="300"/>
<service name="d" key="4" component="c" lookup_priority="private"/>
<service name="e" key="5" component="c" lookup_priority="lowest"/>
<service name="f" key="6" component="c" lookup_priority="low"/>
<service name="g" key="7" component="c" lookup_priority="high"/>
</root>)");
  const auto& s = h.source.services;
  EXPECT_EQ(s[0].releaseTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(s[0].lookupPriority, 1);
  EXPECT_EQ(s[1].releaseTimeout, 0x20u);
  EXPECT_EQ(s[1].lookupPriority, 7);
  // Rejected, yet counted as given.
  EXPECT_TRUE(s[2].releaseTimeout.has_value());
  EXPECT_TRUE(s[2].lookupPriority.has_value());
  EXPECT_EQ(s[3].lookupPriority, 255);
  EXPECT_EQ(s[4].lookupPriority, 254);
  EXPECT_EQ(s[5].lookupPriority, 192);
  EXPECT_EQ(s[6].lookupPriority, 64);
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(4): Invalid format. Expected: release_timeout (optional) = uint32 | 'infinite'",
                   "E a.xml(4): Invalid format. Expected: lookup_priority (optional) = uint8 | 'private' | "
                   "'lowest' | 'low' | 'normal' | 'high' | 'highest'"}));
}

TEST(ReaderValues, AccessibilityIsDeprecatedAndExclusiveWithLookupPriority) {
  Harness h;
  h.read(R"(<root>
<service name="a" key="1" component="c" accessibility="private"/>
<service name="b" key="2" component="c" accessibility="public" lookup_priority="normal"/>
<service name="c" key="3" component="c" accessibility="Private"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"W a.xml(2): Attribute 'accessibility' is deprecated, use 'lookup_priority' instead",
                   "E a.xml(3): Both 'accessibility' and 'lookup_priority' attributes used simultaneously. "
                   "You should remove 'accessibility'.",
                   "E a.xml(4): Invalid format. Expected: accessibility (optional) = 'public' | 'private'"}));
  EXPECT_EQ(h.source.services[0].accessibility, 1u);
  EXPECT_EQ(h.source.services[1].accessibility, 0u);
  EXPECT_EQ(h.source.services[1].lookupPriority, 128);
  EXPECT_FALSE(h.source.services[2].accessibility);
}

TEST(ReaderValues, AutostartIsDeprecatedExceptForOneKey) {
  Harness h;
  h.read(R"(<root>
<service name="a" key="0x6084D671" component="c" autostart="true"/>
<service name="b" key="2" component="c" autostart="false"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"W a.xml(3): Attribute 'autostart' is deprecated"}));
  EXPECT_EQ(h.source.services[1].autostart, false);
}

TEST(ReaderValues, CreateServiceDuringUpdateFoldsIntoCreateOnUpdate) {
  Harness h;
  h.read(R"(<root>
<service name="a" key="1" component="c" create_service_during_update="true"/>
<service name="b" key="2" component="c" create_service_during_update="true" create_on_update="false"/>
</root>)");
  const std::string warning =
      "Attribute 'create_service_during_update' is deprecated, use 'create_on_update' instead.";
  EXPECT_EQ(h.reporter->lines(), (Lines{"W a.xml(2): " + warning, "W a.xml(3): " + warning}));
  EXPECT_EQ(h.source.services[0].createOnUpdate, true);
  EXPECT_EQ(h.source.services[1].createOnUpdate, false);
}

TEST(ReaderValues, UpdateCategoryLocationsAndDefaults) {
  Harness h;
  h.read(R"(<root>
<updatable_categories_config>
  <update_category name="a" container_type="storage" location="%Data%\bases" components="x;y" enabled="false"/>
  <update_category name="b" container_type="storage" location="%Bases%\%x%"/>
  <update_category name="c" container_type="native_file_system" location="x%Data%"/>
  <update_category name="d" container_type="readonly_filesystem_storage" location=""/>
  <update_category name="e" container_type="Storage"/>
</updatable_categories_config>
</root>)");
  const std::string variables = "Update category location may contain only %Bases% or %Data% variables.";
  const std::string format = "Invalid format. Expected: location (optional) = string8_t";
  const std::string container =
      "container_type = 'native_file_system' | 'storage' | 'readonly_filesystem_storage'";
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(4): " + variables, "E a.xml(4): " + format, "E a.xml(5): " + variables,
                   "E a.xml(5): " + format, "E a.xml(7): Invalid format. Expected: " + container,
                   "E a.xml(7): Missing required field: " + container}));
  const auto& c = h.source.updateCategories;
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[0].path, "%Data%\\bases");
  EXPECT_EQ(c[0].components, "x;y");
  EXPECT_EQ(c[0].enabled, false);
  EXPECT_EQ(c[1].path, "%Bases%\\b");
  EXPECT_EQ(c[1].components, "b");
  EXPECT_FALSE(c[1].enabled.has_value());
  EXPECT_EQ(c[2].path, "%Bases%");
  EXPECT_EQ(c[2].containerType, kNativeFileSystem);
  EXPECT_EQ(c[3].path, "");
  EXPECT_EQ(c[3].containerType, kReadOnlyFileSystemStorage);
}

TEST(ReaderValues, RegistryPathRejectsBackslashes) {
  Harness h;
  h.read(R"(<root>
<monitoring_task name="m" component="c" quarn_registry_path="a\b"/>
<on_demand_task name="o" type="t" quarn_registry_path="a/b"/>
</root>)");
  EXPECT_EQ(
      h.reporter->lines(),
      (Lines{"E a.xml(2): Invalid char: '\\' in quarn registry path",
             "E a.xml(2): Invalid format. Expected: quarn_registry_path (optional) = slash/separated/path"}));
  EXPECT_FALSE(h.source.monitoringTasks[0].quarnRegistryPath);
  EXPECT_EQ(h.source.onDemandTasks[0].quarnRegistryPath, "a/b");
}

TEST(ReaderComponents, MissingConstructOrSettingsTypeDropsTheComponent) {
  Harness h;
  h.read(R"(<root>
<component name="a" clsid="1" settings_iid="2"><bogus/></component>
<component name="b" clsid="1" construct_iid="2"/>
<component name="c" clsid="1" construct_iid="2" settings_typeid="3" settings_iid="4"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): Missing 'construct_iid' attribute.",
                                        "E a.xml(3): Missing 'settings_typeid' attribute."}));
  ASSERT_EQ(h.source.components.size(), 1u);
  EXPECT_EQ(h.source.components[0].name, "c");
  EXPECT_EQ(h.source.components[0].settingsTypeId, 3u);
}

TEST(ReaderComponents, AssemblyWithoutComponentsMakesNoRecord) {
  Harness h;
  h.read(R"(<root>
<assembly name="a" module="m.dll"/>
<assembly name="b" module="m.dll" module_category="cat"><component name="x"/><component name="y"/></assembly>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"W a.xml(2): Assembly has empty components list"}));
  ASSERT_EQ(h.source.assemblies.size(), 1u);
  EXPECT_EQ(h.source.assemblies[0].componentNames, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(h.source.assemblies[0].moduleCategory, "cat");
}

TEST(ReaderSettings, RootFormChoosesServiceOrTask) {
  Harness h;
  h.read(R"(<root>
<settings entity="s"><value>1</value></settings>
<settings service="s2" entity="ignored"/>
<settings service="s3" task="t"/>
<settings/>
<settings task="t"><level name="low"/></settings>
</root>)");
  const std::string onlyOne =
      "Expected only one of: \n    service (optional) = string8_t\n    task (optional) = string8_t\n"
      "    entity (optional) = string8_t";
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"W a.xml(2): Attribute 'entity' is deprecated, (treated as 'service'), use 'service' or "
                   "'task' instead",
                   "E a.xml(4): " + onlyOne, "E a.xml(5): " + onlyOne, "E a.xml(6): Expected: <common>"}));
  ASSERT_EQ(h.source.serviceSettings.size(), 2u);
  EXPECT_EQ(h.source.serviceSettings[0].service, "s");
  EXPECT_EQ(h.source.serviceSettings[1].service, "s2");
  ASSERT_EQ(h.source.taskSettings.size(), 1u);
  EXPECT_FALSE(h.source.taskSettings[0].content.common);
  EXPECT_EQ(h.source.taskSettings[0].content.levels.size(), 1u);
}

TEST(ReaderSettings, TaskFormLevelsAndCommonParts) {
  Harness h;
  h.read(R"(<root>
<task_type name="t" component="c">
  <settings>
    <common unique_id="1"/>
    <level name="default"/>
    <level name="high" unique_id="2"/>
    <common/>
    <level name="0x7"/>
    <level/>
  </settings>
</task_type>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"W a.xml(4): Attribute 'unique_id' is deprecated",
                   "W a.xml(6): Attribute 'unique_id' is deprecated",
                   "E a.xml(9): Missing required field: name = uint32 | 'default' | 'high' | 'low'"}));
  const SourceTaskSettings& settings = *h.source.taskTypes[0].settings;
  ASSERT_TRUE(settings.common);
  EXPECT_EQ(helpers::locationText(settings.common->location.get()), "a.xml(7)");  // the last one wins
  ASSERT_EQ(settings.levels.size(), 4u);
  EXPECT_EQ(settings.levels[0].level, 0u);
  EXPECT_EQ(settings.levels[1].level, 2u);
  EXPECT_EQ(settings.levels[2].level, 7u);
}

TEST(ReaderTasks, StatisticsRequestsEventsAndDependencies) {
  Harness h;
  h.read(R"(<root>
<task_type name="t" component="c">
  <statistics typeid="1" iid="2"/>
  <request typeid="3" iid="4"/>
  <event typeid="5" iid="6"/>
  <event iid="7"/>
  <depends name="s" key="0x10" access_point="ap"/>
  <depends/>
</task_type>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(6): Missing required field: typeid = uint32_t"}));
  const SourceTaskType& type = h.source.taskTypes[0];
  ASSERT_EQ(type.statistics.size(), 1u);
  EXPECT_EQ(type.statistics[0].typeId, 1u);
  EXPECT_EQ(type.requests[0].iid, 4u);
  EXPECT_EQ(type.events.size(), 2u);
  ASSERT_EQ(type.dependencies.size(), 2u);
  EXPECT_EQ(type.dependencies[0].name, "s");
  EXPECT_EQ(type.dependencies[0].key, 16u);
  EXPECT_EQ(type.dependencies[0].accessPoint, "ap");
  EXPECT_FALSE(type.dependencies[1].key || type.dependencies[1].name || type.dependencies[1].accessPoint);
}

TEST(ReaderSchedules, SecondScheduleIsReportedWithTheFirstLocation) {
  Harness h;
  h.read(R"(<root>
<on_demand_task name="t" type="tt">
  <schedule unique_id="0x9784FBB7"><taskName>x</taskName></schedule>
  <schedule unique_id="0x6E3FBE91"/>
</on_demand_task>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(4): 'schedule' is already defined at a.xml(3)"}));
  const auto& schedule = h.source.onDemandTasks[0].schedule;
  ASSERT_TRUE(schedule);
  EXPECT_TRUE(schedule->schedule.isOnTaskComplete());
  EXPECT_EQ(helpers::locationText(schedule->location.get()), "a.xml(3)");
}

TEST(ReaderSchedules, UnknownTypeAndOtherDeserializationErrors) {
  Harness h;
  h.read(R"(<root>
<on_demand_task name="t" type="tt">
  <schedule unique_id="0x12345678"/>
  <schedule/>
  <schedule unique_id="0x874A7FAA"><periodInSeconds>60</periodInSeconds></schedule>
</on_demand_task>
</root>)");
  // A schedule that could not be read leaves the slot free for the next.
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(3): Unknown schedule type",
                   "E a.xml(4): Deserialization error: Can't read 'unique_id': Not found"}));
  const auto& schedule = h.source.onDemandTasks[0].schedule;
  ASSERT_TRUE(schedule);
  ASSERT_NE(schedule->schedule.as<velk::scheduler::SecondsSchedule>(), nullptr);
  EXPECT_EQ(schedule->schedule.as<velk::scheduler::SecondsSchedule>()->periodInSeconds, 60u);
}

TEST(ReaderSchedules, MissingAdapterFactoryRaisesAtTheReaderPosition) {
  Harness h;
  auto root =
      testing::parseTestXml("<root><on_demand_task name='t' type='x'><schedule/></on_demand_task></root>");
  try {
    readConfiguration(h.reporter.get(), root.get(), {}, h.source);
    FAIL() << "no exception";
  } catch (const velk::CheckResultFailedException& e) {
    EXPECT_STREQ(e.position().file, "components/vorn_config_compiler/source/reader");
  }
}

TEST(ReaderDocuments, LaterDocumentsAppendAfterEarlierOnes) {
  Harness h;
  h.read("<root><host name='a' id='5' prototype='false'/></root>", "one.xml");
  h.read("<other><host name='b' id='6' prototype='true'/></other>", "two.xml");
  ASSERT_EQ(h.source.hosts.size(), 2u);
  EXPECT_EQ(h.source.hosts[0].name, "a");
  EXPECT_EQ(helpers::locationText(h.source.hosts[1].location.get()), "two.xml(1)");
}

}  // namespace
}  // namespace app_core

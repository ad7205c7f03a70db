#include <gtest/gtest.h>

#include "harness.h"

namespace app_core {
namespace {

using Lines = std::vector<std::string>;
using testing::Harness;

// Builds the model of one document; the harness keeps the diagnostics.
ConfigurationModel buildFrom(Harness& h, const std::string& xml) {
  h.read(xml);
  h.reporter->reports.clear();
  return h.build();
}

TEST(ModelHosts, PredefinedHostsExistWithoutHostElements) {
  Harness h;
  ConfigurationModel model = buildFrom(h, "<root/>");
  ASSERT_EQ(model.hosts.size(), 2u);
  EXPECT_EQ(model.hosts[0].name, "local");
  EXPECT_EQ(model.hosts[0].id, 1u);
  EXPECT_EQ(model.hosts[1].name, "main");
  EXPECT_EQ(model.hosts[1].id, 2u);
  EXPECT_TRUE(model.hosts[1].predefined);
  EXPECT_FALSE(model.hosts[1].prototype);
  EXPECT_FALSE(model.hosts[1].location);
  EXPECT_EQ(h.reporter->lines(), Lines{});
}

TEST(ModelHosts, NamesAndIdentifiersAreUnique) {
  Harness h;
  ConfigurationModel model = buildFrom(h, R"(<root>
<host name="main" id="7" prototype="false"/>
<host name="x" id="1" prototype="false"/>
<host name="h" id="5" prototype="true"/>
<host name="h" id="6" prototype="false"/>
<host name="y" id="5" prototype="false"/>
<host name="z" id="6" prototype="false"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(2): 'main' is predefined and cannot be overriden",
                                        "E a.xml(3): 'x' is predefined and cannot be overriden",
                                        "E a.xml(5): 'h' is already defined at a.xml(4)",
                                        "E a.xml(6): 'y' is already defined at a.xml(4)"}));
  ASSERT_EQ(model.hosts.size(), 4u);
  EXPECT_EQ(model.hosts.find("h")->id, 5u);
  EXPECT_TRUE(model.hosts.find("h")->prototype);
  EXPECT_FALSE(model.hosts.find("h")->predefined);
  EXPECT_EQ(model.hosts[3].name, "z");
}

TEST(ModelUpdateCategories, SortedByNameWithDuplicatesRejected) {
  Harness h;
  ConfigurationModel model = buildFrom(h, R"(<root>
<updatable_categories_config>
  <update_category name="b" container_type="storage"/>
  <update_category name="ab" container_type="storage" enabled="false"/>
  <update_category name="a" container_type="native_file_system"/>
  <update_category name="b" container_type="storage"/>
</updatable_categories_config>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(6): 'b' is already defined at a.xml(3)"}));
  ASSERT_EQ(model.updateCategories.size(), 3u);
  EXPECT_EQ(model.updateCategories[0].name, "a");
  EXPECT_EQ(model.updateCategories[1].name, "ab");
  EXPECT_EQ(model.updateCategories[2].name, "b");
  EXPECT_TRUE(model.updateCategories[0].enabled);
  EXPECT_FALSE(model.updateCategories[1].enabled);
  ASSERT_NE(model.findUpdateCategory("ab"), nullptr);
  EXPECT_EQ(model.findUpdateCategory("ab")->path, "%Bases%\\ab");
  EXPECT_EQ(model.findUpdateCategory("c"), nullptr);
}

TEST(ModelAssemblies, ModuleCategoriesAndMembership) {
  Harness h;
  ConfigurationModel model = buildFrom(h, R"(<root>
<updatable_categories_config><update_category name="cat" container_type="storage"/></updatable_categories_config>
<assembly name="a1" module="m1" module_category="cat"><component name="c1"/><component name="c2"/></assembly>
<assembly name="a2" module="m2" module_category="other"><component name="c3"/><component name="c1"/></assembly>
<assembly name="a1" module="m3"><component name="c4"/></assembly>
<component name="c1" clsid="1"/>
<component name="c3" clsid="3"/>
<component name="c4" clsid="4"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(4): Update category is undefined",
                                        "E a.xml(4): 'c1' is already defined at a.xml(3)",
                                        "E a.xml(5): 'a1' is already defined at a.xml(3)",
                                        "E a.xml(8): Component c4 is not included in any assembly"}));
  ASSERT_EQ(model.assemblies.size(), 2u);
  EXPECT_EQ(model.assemblies[1].moduleCategory, "other");
  ASSERT_EQ(model.components.size(), 2u);
  EXPECT_EQ(model.components.find("c1")->assembly, 0u);
  EXPECT_EQ(model.components.find("c3")->assembly, 1u);
  EXPECT_EQ(model.assemblyOf(*model.components.find("c3")).module, "m2");
}

TEST(ModelAssemblies, ModuleCategoryIsFreeWithoutAnyUpdateCategory) {
  Harness h;
  ConfigurationModel model = buildFrom(h, R"(<root>
<assembly name="a" module="m" module_category="anything"><component name="c"/></assembly>
</root>)");
  EXPECT_EQ(h.reporter->lines(), Lines{});
  EXPECT_EQ(model.assemblies[0].moduleCategory, "anything");
}

TEST(ModelComponents, InterfaceTableAndItsConflicts) {
  Harness h;
  ConfigurationModel model = buildFrom(h, R"(<root>
<assembly name="a" module="m"><component name="c1"/><component name="c2"/></assembly>
<component name="c1" clsid="1">
  <interface name="I.Two" iid="2"/>
  <interface name="I.One" iid="1"/>
</component>
<component name="c2" clsid="2">
  <interface name="I.Other" iid="2"/>
  <interface name="app_core.facade.ITask"/>
</component>
<component name="c1" clsid="3"><interface name="I.Dup" iid="9"/></component>
<component name="loose" clsid="4"><interface name="I.Loose" iid="0"/></component>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(8): Interface iface=0x00000002 with name 'I.Other' conflicts with previous "
                   "declaration with name 'I.Two' defined at a.xml(4)",
                   "W a.xml(7): Component c2 implements ITask interface which should be private",
                   "E a.xml(11): 'c1' is already defined at a.xml(3)",
                   "E a.xml(12): Component loose is not included in any assembly"}));
  // Entries of a component that is not added stay in the table.
  ASSERT_EQ(model.interfaces.size(), 4u);
  EXPECT_EQ(model.interfaces[0].iid, 0u);
  EXPECT_EQ(model.interfaces[0].name, "I.Loose");
  EXPECT_EQ(model.interfaces[1].name, "I.One");
  EXPECT_EQ(model.interfaces[2].name, "I.Two");
  EXPECT_EQ(model.interfaces[3].iid, 0xA47BF9AFu);
  EXPECT_EQ(model.findInterface(2)->name, "I.Two");
  EXPECT_EQ(model.findInterface(9), nullptr);
  EXPECT_EQ(model.components.find("c2")->interfaces, (std::vector<uint32_t>{2, 0xA47BF9AF}));
  EXPECT_EQ(model.components.find("c1")->clsid, 1u);
}

const char* kServicePrelude = R"(<root>
<updatable_categories_config><update_category name="cat" container_type="storage"/></updatable_categories_config>
<assembly name="a" module="m"><component name="plain"/></assembly>
<assembly name="b" module="n" module_category="cat"><component name="updatable"/></assembly>
<component name="plain" clsid="1"/>
<component name="updatable" clsid="2"/>
)";

TEST(ModelServices, FlagsWords) {
  Harness h;
  ConfigurationModel model = buildFrom(h, std::string(kServicePrelude) + R"(
<service name="s1" key="1" component="plain" autostart="true" create_on_update="true" bases_category="x" lookup_priority="highest"/>
<service name="s2" key="2" component="plain"/>
<service name="s3" key="3" component="plain" accessibility="private"/>
<service name="s4" key="4" component="plain" accessibility="public"/>
<service name="s5" key="5" component="plain" autostart="false" lookup_priority="0"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), Lines{});
  EXPECT_EQ(model.services.find("s1")->flags, 0x0100000Cu);
  EXPECT_EQ(model.services.find("s2")->flags, 0x80000000u);
  EXPECT_EQ(model.services.find("s3")->flags, 0xFF000000u);
  EXPECT_EQ(model.services.find("s4")->flags, 0x80000000u);
  EXPECT_EQ(model.services.find("s5")->flags, 0u);
}

TEST(ModelServices, ReferencesUniquenessAndUpdateCategoryRule) {
  Harness h;
  ConfigurationModel model = buildFrom(h, std::string(kServicePrelude) + R"(
<service name="s1" key="1" component="plain" create_on_update="true" release_timeout="9" trace_prefix="T" category_v_1_3="c13"/>
<service name="s2" key="2" component="updatable" create_on_update="true"/>
<service name="s3" key="3" component="plain" create_on_update="true" bases_category="bases"/>
<service name="s1" key="4" component="plain"/>
<service name="s5" key="5" component="nothing"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(),
            (Lines{"E a.xml(8): Service without update category s1 has 'create_on_update' tag",
                   "E a.xml(11): 's1' is already defined at a.xml(8)",
                   "E a.xml(12): Reference to undefined component 'nothing'"}));
  ASSERT_EQ(model.services.size(), 3u);
  const ModelService& s1 = model.services[0];
  EXPECT_EQ(s1.key, 1u);
  EXPECT_EQ(s1.host, kMainHostId);
  EXPECT_EQ(s1.defaultAccessPoint, 0u);
  EXPECT_EQ(s1.timeout, 9u);
  EXPECT_EQ(s1.tracerPrefix, "T");
  EXPECT_EQ(s1.category, "c13");
  EXPECT_FALSE(s1.basesCategory);
  EXPECT_EQ(model.componentOf(s1).name, "plain");
  EXPECT_EQ(model.components.find("plain")->serviceCount, 2u);
  EXPECT_EQ(model.components.find("updatable")->serviceCount, 1u);
}

const char* kAccessPrelude = R"(<root>
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="1"/>
<host name="h1" id="10" prototype="false"/>
<host name="h2" id="11" prototype="false"/>
<service name="auth" key="0x100" component="c"/>
<service name="s1" key="1" component="c"/>
<service name="s2" key="2" component="c"/>
<service name="s3" key="3" component="c"/>
)";

TEST(ModelAccessPoints, UniquenessHostAndAuthorization) {
  Harness h;
  ConfigurationModel model = buildFrom(h, std::string(kAccessPrelude) + R"(
<access_point id="20" name="ap1" host="h1" authorization_service="auth"/>
<access_point id="21" name="ap1" host="h1" authorization_service="auth"/>
<access_point id="20" name="ap2" host="h1" authorization_service="auth"/>
<access_point id="22" name="ap3" host="nowhere" authorization_service="auth"/>
<access_point id="23" name="ap4" host="main" authorization_service="nobody"/>
<access_point id="0x75C750CE" name="open" host="local" authorization_service="nobody"/>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(12): 'ap1' is already defined at a.xml(11)",
                                        "E a.xml(13): 'ap2' is already defined at a.xml(11)",
                                        "E a.xml(14): Reference to undefined host 'nowhere'",
                                        "E a.xml(15): Reference to undefined authorization_service 'nobody'"}));
  ASSERT_EQ(model.accessPoints.size(), 2u);
  EXPECT_EQ(model.accessPoints[0].host, 10u);
  EXPECT_EQ(model.accessPoints[0].authorizationServiceKey, 0x100u);
  EXPECT_EQ(model.accessPoints[1].host, 1u);
  EXPECT_EQ(model.accessPoints[1].authorizationServiceKey, 0u);
}

TEST(ModelAccessPoints, ServiceListsGroupsAndDefaultAccessPoints) {
  Harness h;
  ConfigurationModel model = buildFrom(h, std::string(kAccessPrelude) + R"(
<access_point id="20" name="ap1" host="h1" authorization_service="auth"/>
<access_point id="21" name="ap2" host="h1" authorization_service="auth"/>
<group name="inner"><link name="s2"/><link name="s1"/></group>
<group name="outer"><link name="inner"/><link name="ghost"/></group>
<access_point_services access_point="ap1">
  <link name="s1"/>
  <link name="outer"/>
  <link name="s3"/>
</access_point_services>
<access_point_services access_point="ap2"><link name="s2"/><link name="s2"/></access_point_services>
<access_point_services access_point="ap9"><link name="s1"/></access_point_services>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(14): Reference to undefined name 'ghost'",
                                        "E a.xml(21): Reference to undefined access_point 'ap9'"}));
  // Links after a group reference are resolved too; keys are not repeated.
  EXPECT_EQ(model.accessPoints[0].serviceKeys, (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(model.accessPoints[1].serviceKeys, (std::vector<uint32_t>{2}));
  EXPECT_EQ(model.services.find("s1")->defaultAccessPoint, 20u);
  EXPECT_EQ(model.services.find("s2")->defaultAccessPoint, 0u);  // listed by two
  EXPECT_EQ(model.services.find("s3")->defaultAccessPoint, 20u);
  EXPECT_EQ(model.services.find("auth")->defaultAccessPoint, 0u);
}

TEST(ModelAccessPoints, CircularGroupsAreReportedAndTerminate) {
  Harness h;
  ConfigurationModel model = buildFrom(h, std::string(kAccessPrelude) + R"(
<access_point id="20" name="ap1" host="h1" authorization_service="auth"/>
<group name="self"><link name="s1"/><link name="self"/></group>
<group name="x"><link name="y"/><link name="s2"/></group>
<group name="y"><link name="x"/><link name="s3"/></group>
<access_point_services access_point="ap1"><link name="self"/><link name="x"/></access_point_services>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(12): Circular reference to group 'self'",
                                        "E a.xml(14): Circular reference to group 'x'"}));
  EXPECT_EQ(model.accessPoints[0].serviceKeys, (std::vector<uint32_t>{1, 3, 2}));
}

TEST(ModelAccessPoints, DeeplyNestedGroupsDoNotExhaustTheStack) {
  Harness h;
  std::string xml = std::string(kAccessPrelude) +
                    "<access_point id='20' name='ap1' host='h1' authorization_service='auth'/>\n";
  const int depth = 50000;
  for (int i = 0; i < depth; ++i)
    xml += "<group name='g" + std::to_string(i) + "'><link name='g" + std::to_string(i + 1) + "'/></group>\n";
  xml += "<group name='g" + std::to_string(depth) + "'><link name='s1'/></group>\n";
  xml += "<access_point_services access_point='ap1'><link name='g0'/></access_point_services></root>";
  ConfigurationModel model = buildFrom(h, xml);
  EXPECT_EQ(h.reporter->lines(), Lines{});
  EXPECT_EQ(model.accessPoints[0].serviceKeys, (std::vector<uint32_t>{1}));
}

TEST(ModelHosts, HostServiceListsAssignEachServiceOnce) {
  Harness h;
  ConfigurationModel model = buildFrom(h, std::string(kAccessPrelude) + R"(
<group name="g"><link name="s2"/></group>
<host_services host="h1"><link name="s1"/><link name="g"/></host_services>
<host_services host="h2"><link name="s1"/><link name="s3"/><link name="nobody"/></host_services>
<host_services host="h1"><link name="s1"/></host_services>
<host_services host="h9"><link name="s3"/></host_services>
<host_access_points host="h9"><link name="anything"/></host_access_points>
</root>)");
  EXPECT_EQ(h.reporter->lines(), (Lines{"E a.xml(13): The service 's1'is already belogns to the host 'h2'",
                                        "E a.xml(13): Reference to undefined name 'nobody'",
                                        "E a.xml(15): Reference to undefined host 'h9'"}));
  EXPECT_EQ(model.services.find("s1")->host, 10u);
  EXPECT_EQ(model.services.find("s2")->host, 10u);
  EXPECT_EQ(model.services.find("s3")->host, 11u);
  EXPECT_EQ(model.services.find("auth")->host, kMainHostId);
}

}  // namespace
}  // namespace app_core

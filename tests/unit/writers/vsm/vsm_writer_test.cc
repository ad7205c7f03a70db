#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "console/null_tracer.h"
#include "harness.h"
#include "kv/key_value_storage_manager.h"
#include "temp_directory.h"
#include "writers/vsm/service_manager_config_writer.h"
#include "xmlfile/file_io.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {
namespace {

using velk::Ref;

// Counts its calls; answers `result`.
class RecordingTasksWriter : public TasksWriter {
 public:
  velk::result_t write(const ConfigurationModel& model) override {
    ++calls;
    servicesSeen = model.services.size();
    return result;
  }
  int calls = 0;
  size_t servicesSeen = 0;
  velk::result_t result = velk::errors::kOk;
};

// A document in a scratch file, read back after a flush without the CRs.
class ScratchDocument {
 public:
  explicit ScratchDocument(const std::string& existing = {}) {
    path_ = folder_.write("config.vsm", existing);
    Ref<velk::IIO> io;
    EXPECT_EQ(velk::FileIo::open(path_, velk::FileIo::Mode::kReadWrite, io), 0);
    auto factory = velk::make<velk::XmlStorageFactory>();
    if (existing.empty()) {
      EXPECT_EQ(factory->CreateDocument("root", io.get(), 0, root.put()), 0);
    } else {
      velk::XmlParseError error;
      EXPECT_EQ(factory->ParseIo(io.get(), 0, root.put(), &error), 0);
    }
  }
  // The document goes before its folder.
  ~ScratchDocument() { root.reset(); }

  std::string text() {
    EXPECT_EQ(root->Flush(), 0);
    std::ifstream in(path_, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    std::string result;
    for (char c : content.str())
      if (c != '\r') result += c;
    return result;
  }

  Ref<velk::IStorage> root;

 private:
  testing::TempDirectory folder_;
  std::string path_;
};

struct Fixture {
  explicit Fixture(const std::string& xml) {
    harness.read(xml);
    model = harness.build();
  }
  velk::result_t write(velk::IStorage* root, const std::string& target = {}) {
    ServiceManagerConfigWriter writer(target, model, settings, harness.adapters.get(), tasks);
    return writer.write(root);
  }
  // Messages other than the information lines of calculated identifiers.
  std::vector<std::string> problems() const {
    std::vector<std::string> found = harness.reporter->of('E');
    for (const std::string& warning : harness.reporter->of('W')) found.push_back(warning);
    return found;
  }

  testing::Harness harness;
  ConfigurationModel model;
  StorageContext settings;
  RecordingTasksWriter tasks;
};

constexpr const char* kSpecimen = R"(<root>
<updatable_categories_config>
  <update_category name="bases" container_type="storage" location="%Bases%\b"/>
</updatable_categories_config>
<host name="h" id="7" prototype="false"/>
<assembly name="a" module="mod.dll"><component name="comp"/></assembly>
<component name="comp" clsid="0x10">
  <interface name="IOne" iid="0x20"/>
</component>
<service name="svc" key="0x30" component="comp"><depends key="0x40"/></service>
<access_point id="0x50" name="ap" host="h" authorization_service="svc"/>
<access_point_services access_point="ap"><link name="svc"/></access_point_services>
</root>)";

TEST(VsmWriter, WritesEveryGroupInOrder) {
  Fixture f(kSpecimen);
  ASSERT_EQ(f.problems(), std::vector<std::string>{});
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <update_category name="bases" components="bases" path="%Bases%\b" flags="1" />
    <host id="0x00000007" prototype="0" />
    <access_point id="0x00000050" host="0x00000007" authorization_service="0x00000030">
        <service service_key="0x00000030" />
    </access_point>
    <component name="svc" service_key="0x00000030" default_access_point="0x00000050" clsid="0x00000010" module="mod.dll">
        <interface iid="0x00000020" name="IOne" />
        <depends service_key="0x00000040" />
    </component>
</root>
)");
  EXPECT_EQ(f.tasks.calls, 1);
  EXPECT_EQ(f.tasks.servicesSeen, 1u);
}

TEST(VsmWriter, UpdateCategoryFlags) {
  Fixture f(R"(<root><updatable_categories_config>
  <update_category name="a" container_type="storage"/>
  <update_category name="b" container_type="native_file_system"/>
  <update_category name="c" container_type="readonly_filesystem_storage"/>
  <update_category name="d" container_type="storage" enabled="false"/>
  <update_category name="e" container_type="native_file_system" enabled="false"/>
  <update_category name="f" container_type="readonly_filesystem_storage" enabled="false" components="x;y"/>
</updatable_categories_config></root>)");
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <update_category name="a" components="a" path="%Bases%\a" flags="1" />
    <update_category name="b" components="b" path="%Bases%" flags="0" />
    <update_category name="c" components="c" path="%Bases%\c" flags="2" />
    <update_category name="d" components="d" path="%Bases%\d" flags="17" />
    <update_category name="e" components="e" path="%Bases%" flags="16" />
    <update_category name="f" components="x;y" path="%Bases%\f" flags="18" />
</root>
)");
}

TEST(VsmWriter, InvalidContainerTypeStopsTheWriterAndKeepsWhatWasMade) {
  Fixture f(R"(<root><updatable_categories_config>
  <update_category name="a" container_type="storage"/>
  <update_category name="b" container_type="storage"/>
</updatable_categories_config></root>)");
  f.model.updateCategories[1].containerType = 3;
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), velk::errors::kInvalidArgument);
  EXPECT_EQ(f.tasks.calls, 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <update_category name="a" components="a" path="%Bases%\a" flags="1" />
</root>
)");
}

constexpr const char* kServiceAttributes = R"(<root>
<host name="h" id="0x100" prototype="true"/>
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="0xab"/>
<service name="inMain" key="1" component="c"/>
<service name="inLocal" key="2" component="c" autostart="true" lookup_priority="highest"/>
<service name="inNone" key="3" component="c" lookup_priority="high"/>
<service name="everything" key="0xFFFFFFFF" component="c" trace_prefix="EV" release_timeout="infinite"
         bases_category="bc" category_v_1_3="cat" create_on_update="true"/>
<host_services host="local"><link name="inLocal"/></host_services>
<host_services host="h"><link name="everything"/></host_services>
</root>)";

TEST(VsmWriter, ConditionalServiceAttributes) {
  Fixture f(kServiceAttributes);
  ASSERT_EQ(f.problems(), std::vector<std::string>{"W a.xml(6): Attribute 'autostart' is deprecated"});
  f.model.services[2].host = 0;
  f.model.services[2].flags = 0x80000001;
  f.model.services[0].flags = 0;
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <host id="0x00000100" prototype="1" />
    <component name="inMain" service_key="0x00000001" clsid="0x000000ab" module="m" />
    <component name="inLocal" service_key="0x00000002" host="0x00000001" flags="0x01000004" clsid="0x000000ab" module="m" />
    <component name="inNone" service_key="0x00000003" flags="0x80000001" clsid="0x000000ab" module="m" />
    <component name="everything" service_key="0xffffffff" host="0x00000100" flags="0x80000008" tracer_prefix="EV" timeout="4294967295" bases_category="bc" category="cat" clsid="0x000000ab" module="m" />
</root>
)");
}

constexpr const char* kCategorised = R"(<root>
<updatable_categories_config><update_category name="upd" container_type="storage"/></updatable_categories_config>
<assembly name="plain" module="plain.so"><component name="p"/><component name="lonely"/></assembly>
<assembly name="managed" module="managed.so" module_category="upd"><component name="m"/><component name="idle"/></assembly>
<component name="p" clsid="1" settings_typeid="0x11" construct_iid="0x12" settings_iid="0x13">
  <interface name="I2" iid="0x22"/><interface name="I1" iid="0x21"/>
</component>
<component name="lonely" clsid="2" settings_typeid="0x14" construct_iid="0x15"><interface name="I1" iid="0x21"/></component>
<component name="m" clsid="3" settings_typeid="0x31" construct_iid="0x32"><interface name="I3" iid="0x23"/></component>
<component name="idle" clsid="4"/>
<service name="ps" key="0x70" component="p"><settings/></service>
<service name="ms" key="0x71" component="m" bases_category="b"><settings/><depends key="0x70"/></service>
</root>)";

TEST(VsmWriter, WithoutTargetCategoryOnlyUncategorisedComponentsAreWritten) {
  Fixture f(kCategorised);
  ASSERT_EQ(f.problems(), std::vector<std::string>{});
  // Settings go to the settings database, which this test does not hold.
  f.model.services[0].settings.reset();
  f.model.services[1].settings.reset();
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <update_category name="upd" components="upd" path="%Bases%\upd" flags="1" />
    <component_manageability clsid="0x00000003" settings_type_id="0x00000031" construct_iface_id="0x00000032" />
    <component name="ps" service_key="0x00000070" clsid="0x00000001" settings_type_id="0x00000011" construct_iface_id="0x00000012" settings_iface_id="0x00000013" module="plain.so">
        <interface iid="0x00000022" name="I2" />
        <interface iid="0x00000021" name="I1" />
    </component>
    <component service_key="0x00000000" clsid="0x00000002" settings_type_id="0x00000014" construct_iface_id="0x00000015" module="plain.so">
        <interface iid="0x00000021" name="I1" />
    </component>
</root>
)");
}

TEST(VsmWriter, TargetCategoryWritesOnlyItsComponentsWithTheClassIdentifier) {
  Fixture f(kCategorised);
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get(), "upd"), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <component name="ms" service_key="0x00000071" bases_category="b" clsid="0x00000003" module="managed.so" module_category="upd">
        <interface iid="0x00000023" name="I3" />
        <depends service_key="0x00000070" />
    </component>
    <component service_key="0x00000000" clsid="0x00000004" module="managed.so" module_category="upd" />
</root>
)");
  EXPECT_EQ(f.tasks.calls, 1);
}

TEST(VsmWriter, UnknownTargetCategoryWritesNoComponents) {
  Fixture f(kCategorised);
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get(), "UPD"), 0);
  EXPECT_EQ(doc.text(), "<root />\n");
}

TEST(VsmWriter, DependenciesNameTheirAccessPoint) {
  Fixture f(R"(<root>
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="1"/>
<service name="s" key="5" component="c"><depends key="6" access_point="ap"/><depends name="s"/></service>
<access_point id="0x75C750CE" name="ap" host="main" authorization_service="none"/>
</root>)");
  ASSERT_EQ(f.problems(), std::vector<std::string>{});
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <access_point id="0x75c750ce" host="0x00000002" authorization_service="0x00000000" />
    <component name="s" service_key="0x00000005" clsid="0x00000001" module="m">
        <depends service_key="0x00000006" access_point="0x75c750ce" />
        <depends service_key="0x00000005" />
    </component>
</root>
)");
}

TEST(VsmWriter, EmptyModelAppendsNothingAndExistingElementsStay) {
  Fixture f("<root/>");
  ScratchDocument doc("<vsm>\n<old a=\"1\"/></vsm>");
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), "<vsm>\n    <old a=\"1\" />\n</vsm>\n");
  EXPECT_EQ(f.tasks.calls, 1);
}

TEST(VsmWriter, SecondWriteAppendsAfterTheFirst) {
  Fixture f(R"(<root><host name="h" id="9" prototype="false"/></root>)");
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(f.write(doc.root.get()), 0);
  EXPECT_EQ(doc.text(), R"(<root>
    <host id="0x00000009" prototype="0" />
    <host id="0x00000009" prototype="0" />
</root>
)");
}

TEST(VsmWriter, TaskWriterFailureIsTheResult) {
  Fixture f("<root/>");
  f.tasks.result = velk::errors::kAccessDenied;
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), velk::errors::kAccessDenied);
  EXPECT_EQ(f.tasks.calls, 1);
}

TEST(VsmWriter, InterfaceMissingFromTheTableFailsInsteadOfReadingPastIt) {
  Fixture f(R"(<root>
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="1"><interface name="I" iid="0xffffffff"/></component>
</root>)");
  f.model.components[0].interfaces.push_back(0x12345678);
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), velk::errors::kNotFound);
  EXPECT_EQ(f.tasks.calls, 0);
}

TEST(VsmWriter, ServiceSettingsGoToTheSettingsDatabaseServiceByService) {
  Fixture f(R"(<root>
<assembly name="a" module="m"><component name="c"/></assembly>
<component name="c" clsid="1" settings_typeid="2" construct_iid="3"/>
<service name="with" key="5" component="c"><settings><depth>3</depth></settings></service>
<service name="defaulted" key="6" component="c"/>
</root>)");
  ASSERT_TRUE(f.model.services[1].settings.has_value());
  testing::TempDirectory folder;
  std::string path = folder.path("settings.kvdb");
  auto manager = velk::make<data_storage::KeyValueStorageManager>(nullptr);
  ASSERT_EQ(manager->CreateStorage(path, f.settings.database.put()), 0);
  f.settings.tracer = velk::make<NullTracer>();
  f.settings.xmlFactory = velk::make<velk::XmlStorageFactory>();
  ScratchDocument doc;
  EXPECT_EQ(f.write(doc.root.get()), 0);
  for (std::string key : {"with/settings", "with/factory_settings", "defaulted/settings"}) {
    data_storage::Bytes value;
    int64_t id = 0;
    EXPECT_EQ(f.settings.database->FindByKey(data_storage::ByteRange(key), value, id), 0) << key;
  }
  f.settings = {};
}

}  // namespace
}  // namespace app_core

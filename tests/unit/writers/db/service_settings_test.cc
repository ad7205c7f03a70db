#include <gtest/gtest.h>

#include "db_test_support.h"
#include "writers/db/service_settings_writer.h"

namespace app_core {
namespace {

using testing::document;

const char* kComponents = R"(
<assembly name="a" module="m"><component name="sc"/><component name="c"/></assembly>
<component name="sc" clsid="2" construct_iid="3" settings_typeid="0x77"/>
<component name="c" clsid="1"/>
)";

class ServiceSettingsTest : public ::testing::Test {
 protected:
  testing::TempDirectory dir;
  testing::ModelSource source{dir};
  testing::Database settings{dir.path("settings.kvdb")};

  velk::result_t writeAll(const ConfigurationModel& model) {
    for (const ModelService& service : model.services) {
      velk::result_t r = writeServiceSettings(service, settings.context(), source.adapters.get());
      if (velk::failed(r)) return r;
    }
    return velk::errors::kOk;
  }
};

TEST_F(ServiceSettingsTest, SettingsAndFactorySettingsHoldTheSameRecord) {
  auto model = source.build(std::string(kComponents) + R"(
<service name="s" key="1" component="sc">
  <settings><a>1</a><b x="2"><c>3</c></b><list><item>x</item></list></settings>
</service>)");
  ASSERT_EQ(writeAll(model), velk::errors::kOk);
  const std::string expected = document({
      R"(<root a="1" unique_id="119">)",
      R"(    <b x="2" c="3" />)",
      R"(    <list item="x" />)",
      R"(</root>)",
  });
  EXPECT_EQ(settings.record("s/settings"), expected);
  EXPECT_EQ(settings.record("s/factory_settings"), expected);
  EXPECT_EQ(settings.keys(), (std::vector<std::string>{"s/settings", "s/factory_settings"}));
  settings.close();
  EXPECT_EQ(testing::readRecordWithSqlite(settings.path(), "s/factory_settings"), expected);
}

TEST_F(ServiceSettingsTest, StoredContentStaysAndValuesOfTheSameNameAreOverwritten) {
  for (const char* key : {"s/settings", "s/factory_settings"}) {
    int64_t id = 0;
    ASSERT_EQ(settings.context().database->Insert(std::string(key),
                                                  std::string(R"(<root a="old" keep="1"><b x="old"/><old/></root>)"),
                                                  id),
              velk::errors::kOk);
  }
  auto model = source.build(std::string(kComponents) + R"(
<service name="s" key="1" component="sc"><settings><a>1</a><b x="2"/><b y="3"/>own</settings></service>)");
  ASSERT_EQ(writeAll(model), velk::errors::kOk);
  // The first "b" goes into the stored "b", the second becomes a new one.
  const std::string expected = document({
      R"(<root a="1" keep="1" unique_id="119">)",
      R"(    <b x="2" />)",
      R"(    <old />)",
      R"(    <b y="3" />)",
      R"(    own)",
      R"(</root>)",
  });
  EXPECT_EQ(settings.record("s/settings"), expected);
  EXPECT_EQ(settings.record("s/factory_settings"), expected);
}

TEST_F(ServiceSettingsTest, DeclaredSettingsTypeWithoutSettingsStoresTheTypeAlone) {
  auto model = source.build(std::string(kComponents) + R"(<service name="s" key="1" component="sc"/>
<service name="plain" key="2" component="c"/>)");
  ASSERT_EQ(writeAll(model), velk::errors::kOk);
  EXPECT_EQ(settings.record("s/settings"), document({R"(<root unique_id="119" />)"}));
  EXPECT_EQ(settings.keys(), (std::vector<std::string>{"s/settings", "s/factory_settings"}));
}

}  // namespace
}  // namespace app_core

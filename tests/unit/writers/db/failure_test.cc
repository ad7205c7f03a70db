#include <gtest/gtest.h>

#include "db_test_support.h"
#include "failing_store.h"
#include "writers/db/service_settings_writer.h"
#include "writers/db/task_type_registry.h"
#include "writers/db/velk_tasks_writer.h"

namespace app_core {
namespace {

using Keys = std::vector<std::string>;

const std::string kComponents = R"(
<assembly name="a" module="m"><component name="c"/><component name="sc"/></assembly>
<component name="c" clsid="1"/>
<component name="sc" clsid="2" construct_iid="3" settings_typeid="0x77"/>
)";

class FailureTest : public ::testing::Test {
 protected:
  testing::TempDirectory dir;
  testing::ModelSource source{dir};
  testing::Database settingsFile{dir.path("settings.kvdb")};
  testing::Database storageFile{dir.path("storage.kvdb")};
  velk::Ref<testing::FailingStore> settingsStore = velk::make<testing::FailingStore>(settingsFile.context().database);
  velk::Ref<testing::FailingStore> storageStore = velk::make<testing::FailingStore>(storageFile.context().database);
  StorageContext settings = withStore(settingsFile, settingsStore);
  StorageContext storage = withStore(storageFile, storageStore);

  static StorageContext withStore(const testing::Database& db, velk::Ref<testing::FailingStore> store) {
    StorageContext context = db.context();
    context.database = store;
    return context;
  }
};

TEST_F(FailureTest, ServiceSettingsStopWhenTheFirstRecordCannotBeMade) {
  auto model = source.build(kComponents + R"(<service name="s" key="1" component="sc"><settings/></service>)");
  settingsStore->refusedInserts = {"s/settings"};
  EXPECT_EQ(writeServiceSettings(model.services[0], settings, source.adapters.get()), velk::errors::kMediaError);
  EXPECT_EQ(settingsFile.keys(), Keys{});
}

TEST_F(FailureTest, ServiceSettingsReportARecordThatCannotBeStored) {
  auto model = source.build(kComponents + R"(<service name="s" key="1" component="sc"><settings/></service>)");
  settingsStore->refusedUpdates = {1};  // the record of "s/settings"
  EXPECT_EQ(writeServiceSettings(model.services[0], settings, source.adapters.get()), velk::errors::kMediaError);
  EXPECT_EQ(settingsFile.keys(), Keys{"s/settings"});
  EXPECT_EQ(settingsFile.record("s/settings"), "<root></root>");
}

TEST_F(FailureTest, TasksWriterStopsAtTheFirstFailureKeepingWhatWasStored) {
  auto model = source.build(kComponents + R"(
<task_type name="t" component="c"/>
<on_demand_task name="o1" type="t"/>
<on_demand_task name="o2" type="t"/>
<on_demand_task name="o3" type="t"/>)");
  const std::string profiles = "app_core.task_manager.TaskManager/profiles/";
  storageStore->refusedInserts = {profiles + "o2"};
  VelkTasksWriter writer(settings, storage, source.adapters.get(), source.serializer.get());
  EXPECT_EQ(writer.write(model), velk::errors::kMediaError);
  EXPECT_EQ(storageFile.keys(), (Keys{kTaskTypeRegistryKey, profiles + "o1"}));
  // The items of o1 and o2 were written before the profile of o2 failed.
  std::string registry = *storageFile.record(kTaskTypeRegistryKey);
  EXPECT_EQ(testing::occurrences(registry, "<item>"), 2u);
}

TEST_F(FailureTest, TasksWriterReportsARegistryThatCannotBeStored) {
  auto model = source.build(kComponents + R"(
<task_type name="t" component="c"/>
<on_demand_task name="o1" type="t"/>)");
  storageStore->refusedUpdates = {1};  // the registry's record
  VelkTasksWriter writer(settings, storage, source.adapters.get(), source.serializer.get());
  EXPECT_EQ(writer.write(model), velk::errors::kMediaError);
  EXPECT_EQ(storageFile.record(kTaskTypeRegistryKey), "<root></root>");
  EXPECT_FALSE(storageFile.record("app_core.scheduler.TaskScheduler"));
}

}  // namespace
}  // namespace app_core

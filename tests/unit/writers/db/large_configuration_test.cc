#include <gtest/gtest.h>

#include <chrono>

#include "db_test_support.h"
#include "writers/db/task_type_registry.h"
#include "writers/db/velk_tasks_writer.h"

namespace app_core {
namespace {

// 5,000 scheduled tasks with settings: keys opened once per task must not
// make the write re-read and re-print a growing document each time.
TEST(LargeConfiguration, FiveThousandTasksAreWrittenInLinearTime) {
  testing::TempDirectory dir;
  testing::ModelSource source(dir);
  std::string body = R"(
<assembly name="a" module="m"><component name="sc"/></assembly>
<component name="sc" clsid="2" construct_iid="3" settings_typeid="0x77"/>)";
  for (int type = 0; type < 50; ++type)
    body += "<task_type name=\"type" + std::to_string(type) +
            "\" component=\"sc\"><statistics typeid=\"1\" iid=\"2\"/><settings><common><a>1</a><b>2</b></common>"
            "<level name=\"default\"><b>3</b></level></settings></task_type>\n";
  for (int task = 0; task < 5000; ++task)
    body += "<on_demand_task name=\"task" + std::to_string(task) + "\" type=\"type" + std::to_string(task % 50) +
            "\"><schedule unique_id=\"0x8AFDEF28\"><periodInDays>1</periodInDays></schedule>"
            "<settings><common><c>" +
            std::to_string(task) + "</c></common></settings></on_demand_task>\n";
  auto model = source.build(body);
  ASSERT_EQ(model.tasks.size(), 5000u);
  testing::Database settings(dir.path("settings.kvdb"));
  testing::Database storage(dir.path("storage.kvdb"));
  // One transaction, as a compile writes.
  auto transaction = velk::queryInterface<data_storage::ITransaction>(storage.context().database.get());
  auto settingsTransaction = velk::queryInterface<data_storage::ITransaction>(settings.context().database.get());
  ASSERT_EQ(transaction->BeginTransaction(), velk::errors::kOk);
  ASSERT_EQ(settingsTransaction->BeginTransaction(), velk::errors::kOk);

  auto start = std::chrono::steady_clock::now();
  VelkTasksWriter writer(settings.context(), storage.context(), source.adapters.get(), source.serializer.get());
  ASSERT_EQ(writer.write(model), velk::errors::kOk);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(transaction->CommitTransaction(), velk::errors::kOk);
  EXPECT_EQ(settingsTransaction->CommitTransaction(), velk::errors::kOk);
  EXPECT_LT(seconds, 30.0);
  RecordProperty("seconds", std::to_string(seconds));

  EXPECT_EQ(testing::occurrences(*storage.record(kTaskTypeRegistryKey), "<kind>"), 5050u);
  EXPECT_EQ(testing::occurrences(*storage.record("velk.scheduler.Scheduler"), "<descriptor "), 5000u);
}

}  // namespace
}  // namespace app_core

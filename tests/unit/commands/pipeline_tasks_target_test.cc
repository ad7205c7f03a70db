#include <gtest/gtest.h>

#include "commands/tasks_writer_choice.h"

namespace app_core {
namespace {

TEST(PipelineTasksTarget, NoQuarnConfigurationWritesTheDatabases) {
  EXPECT_EQ(tasksTargetOf(""), TasksTarget::kKeyValueDatabases);
}

TEST(PipelineTasksTarget, OnlyTheExactExtensionRegSelectsRegistryText) {
  EXPECT_EQ(tasksTargetOf("/out/ppp.reg"), TasksTarget::kPppReg);
  EXPECT_EQ(tasksTargetOf("/out/a.b.reg"), TasksTarget::kPppReg);
  EXPECT_EQ(tasksTargetOf("/out/ppp.REG"), TasksTarget::kProfilesXml);
  EXPECT_EQ(tasksTargetOf("/out/ppp.regx"), TasksTarget::kProfilesXml);
  EXPECT_EQ(tasksTargetOf("/out/profiles.xml"), TasksTarget::kProfilesXml);
  EXPECT_EQ(tasksTargetOf("/out/reg"), TasksTarget::kProfilesXml);
}

TEST(PipelineTasksTarget, TheExtensionIsTakenFromTheLastPathComponent) {
  EXPECT_EQ(tasksTargetOf("/out/x.reg/profiles"), TasksTarget::kProfilesXml);
  EXPECT_EQ(tasksTargetOf("/out/x.reg/"), TasksTarget::kProfilesXml);
}

}  // namespace
}  // namespace app_core

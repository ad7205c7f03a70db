#include <gtest/gtest.h>

#include "quarn_test_support.h"
#include "recording_reporter.h"
#include "writers/legacy/quarn_ppp_reg_tasks_writer.h"

namespace app_core {
namespace {

using quarntest::MemoryFile;

quarntest::ModelMaker oneTask() {
  quarntest::ModelMaker maker;
  size_t component = maker.component("C", 0xABCDEF01);
  size_t type = maker.taskType("Type", component);
  maker.task("T", type).quarnRegistryPath = {"Group"};
  return maker;
}

velk::result_t writeInto(const velk::Ref<MemoryFile>& file, const ConfigurationModel& model,
                         testing::RecordingReporter& reporter, const std::string& path = "HKLM\\Software\\P") {
  file->position = file->content.size();  // the pipeline opens the file at its end
  auto factory = velk::make<velk::XmlStorageFactory>();
  QuarnPppRegTasksWriter writer(&reporter, factory.get(), file, path);
  return writer.write(model);
}

constexpr const char* kOneTaskText =
    "[HKLM\\Software\\P]\n"
    "\n"
    "[HKLM\\Software\\P\\profiles]\n"
    "\n"
    "[HKLM\\Software\\P\\profiles\\Group]\n"
    "\n"
    "[HKLM\\Software\\P\\profiles\\Group\\profiles]\n"
    "\n"
    "[HKLM\\Software\\P\\profiles\\Group\\profiles\\T]\n"
    "\"type\"=\"Type\"\n"
    "\"persistent\"=dword:00000000\n"
    "\"enabled\"=dword:00000001\n"
    "\"installed\"=dword:00000001\n"
    "\"level\"=dword:00000000\n"
    "\"remote\"=dword:00000000\n"
    "\n"
    "[HKLM\\Software\\P\\types]\n"
    "\n"
    "[HKLM\\Software\\P\\types\\Type]\n"
    "\"pid\"=dword:a47bf9af\n"
    "\"iid\"=dword:00000017\n"
    "\"velk_clsid\"=dword:abcdef01\n"
    "\n";

TEST(QuarnPppRegWriter, PrintsTheTasksAsRegistryText) {
  auto file = velk::make<MemoryFile>();
  auto reporter = velk::make<testing::RecordingReporter>();
  EXPECT_EQ(writeInto(file, oneTask().model, *reporter), velk::errors::kOk);
  EXPECT_EQ(file->content, kOneTaskText);
  EXPECT_TRUE(reporter->lines().empty());
}

TEST(QuarnPppRegWriter, EverySecondRunAppends) {
  auto file = velk::make<MemoryFile>("existing\r\n");
  auto reporter = velk::make<testing::RecordingReporter>();
  ASSERT_EQ(writeInto(file, oneTask().model, *reporter), velk::errors::kOk);
  ASSERT_EQ(writeInto(file, oneTask().model, *reporter), velk::errors::kOk);
  EXPECT_EQ(file->content, std::string("existing\r\n") + kOneTaskText + kOneTaskText);
}

TEST(QuarnPppRegWriter, CopiedSettingsPrintByTheirElements) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.components[0].settingsTypeId = 1;
  maker.model.taskTypes[0].quarnSettings = RetainedNode{
      quarntest::parseFragment("<quarn_settings><tBINARY name=\"b\">0a1B</tBINARY><key name=\"sub\">"
                               "<tSTRING name=\"s\">x</tSTRING></key></quarn_settings>"),
      nullptr};
  auto file = velk::make<MemoryFile>();
  auto reporter = velk::make<testing::RecordingReporter>();
  ASSERT_EQ(writeInto(file, maker.model, *reporter, "R"), velk::errors::kOk);
  EXPECT_NE(file->content.find("[R\\types\\Type]\n"
                               "\"pid\"=dword:a47bf9af\n"
                               "\"iid\"=dword:00000017\n"
                               "\"velk_clsid\"=dword:abcdef01\n"
                               "\"velk_settings_serid\"=dword:00000001\n"
                               "\"idSettings\"=dword:fffffffe\n"
                               "\n"
                               "[R\\types\\Type\\settings]\n"
                               "\"b\"=hex:0a,1B\n"
                               "\n"
                               "[R\\types\\Type\\settings\\sub]\n"
                               "\"s\"=\"x\"\n"
                               "\n"),
            std::string::npos)
      << file->content;
}

TEST(QuarnPppRegWriter, PrintingErrorsLeaveTheFileAsItWas) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.components[0].settingsTypeId = 1;
  maker.model.taskTypes[0].quarnSettings = RetainedNode{
      quarntest::parseFragment("<quarn_settings><tBINARY name=\"b\">abc</tBINARY></quarn_settings>"),
      nullptr};
  auto file = velk::make<MemoryFile>("kept\n");
  auto reporter = velk::make<testing::RecordingReporter>();
  EXPECT_EQ(writeInto(file, maker.model, *reporter), velk::errors::kUnexpected);
  EXPECT_EQ(file->content, "kept\n");
  EXPECT_EQ(reporter->lines(), (std::vector<std::string>{"E -: tBINARY b size is odd."}));
}

TEST(QuarnPppRegWriter, OnTaskCompleteRefusalStillPrintsTheRest) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.tasks[0].schedule =
      LocatedSchedule{Schedule{scheduler::OnTaskCompleteSchedule::kTypeId,
                               std::make_shared<scheduler::OnTaskCompleteSchedule>()},
                      quarntest::at("t.xml", 9)};
  auto file = velk::make<MemoryFile>();
  auto reporter = velk::make<testing::RecordingReporter>();
  EXPECT_EQ(writeInto(file, maker.model, *reporter), velk::errors::kOk);
  EXPECT_EQ(file->content, kOneTaskText);
  EXPECT_EQ(
      reporter->lines(),
      (std::vector<std::string>{"E t.xml(9): Legacy Task Manager does not support OnTaskCompleteSchedule"}));
}

TEST(QuarnPppRegWriter, FileWriteFailureIsTheResult) {
  auto file = velk::make<MemoryFile>();
  file->writeResult = velk::errors::kAccessDenied;
  auto reporter = velk::make<testing::RecordingReporter>();
  EXPECT_EQ(writeInto(file, oneTask().model, *reporter), velk::errors::kAccessDenied);
}

TEST(QuarnPppRegWriter, OnlyTheExactExtensionRegNamesARegistryFile) {
  EXPECT_TRUE(QuarnPppRegTasksWriter::isRegistryFile("/out/ppp.reg"));
  EXPECT_TRUE(QuarnPppRegTasksWriter::isRegistryFile(".reg"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("/out/ppp.REG"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("/out/ppp.Reg"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("/out/profiles.xml"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("/out/ppp.reg.xml"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("/out.reg/ppp"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("C:\\out.reg\\ppp"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile("/out/reg"));
  EXPECT_FALSE(QuarnPppRegTasksWriter::isRegistryFile(""));
}

}  // namespace
}  // namespace app_core

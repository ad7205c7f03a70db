#include <gtest/gtest.h>

#include "quarn_test_support.h"
#include "recording_reporter.h"
#include "writers/legacy/quarn_profiles_xml_tasks_writer.h"
#include "writers/legacy/schedule_converter.h"

namespace app_core {
namespace {

using quarntest::MemoryFile;

struct Written {
  velk::result_t result;
  std::string document;
};

// Runs the writer over the document held by `file` (a new one when empty).
Written writeInto(MemoryFile& file, const ConfigurationModel& model, testing::RecordingReporter& reporter) {
  Written written;
  {
    file.position = 0;
    auto root = file.content.empty() ? quarntest::newDocument(&file) : quarntest::parseDocument(&file);
    QuarnProfilesXmlTasksWriter writer(&reporter, root.get());
    written.result = writer.write(model);
  }
  written.document = quarntest::savedText(file);
  return written;
}

Written writeOnce(const ConfigurationModel& model, testing::RecordingReporter& reporter) {
  auto file = velk::make<MemoryFile>();
  return writeInto(*file, model, reporter);
}

template <class T>
Schedule scheduleOf(const T& object) {
  return Schedule{T::kTypeId, std::make_shared<T>(object)};
}

// One on-demand task T of type Type whose component is C.
quarntest::ModelMaker oneTask() {
  quarntest::ModelMaker maker;
  size_t component = maker.component("C", 0x1001);
  size_t type = maker.taskType("Type", component);
  maker.task("T", type);
  return maker;
}

TEST(QuarnProfilesXmlWriter, TaskAndTypeWithTheirFixedValues) {
  quarntest::ModelMaker maker = oneTask();
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  EXPECT_TRUE(reporter->lines().empty());
  EXPECT_EQ(written.document,
            "<propertiesmap>\n"
            "    <key name=\"profiles\">\n"
            "        <key name=\"T\">\n"
            "            <tSTRING name=\"type\">Type</tSTRING>\n"
            "            <tDWORD name=\"persistent\">0</tDWORD>\n"
            "            <tDWORD name=\"enabled\">1</tDWORD>\n"
            "            <tDWORD name=\"installed\">1</tDWORD>\n"
            "            <tDWORD name=\"level\">0</tDWORD>\n"
            "            <tDWORD name=\"remote\">0</tDWORD>\n"
            "        </key>\n"
            "    </key>\n"
            "    <key name=\"types\">\n"
            "        <key name=\"Type\">\n"
            "            <tDWORD name=\"pid\">2759588271</tDWORD>\n"
            "            <tDWORD name=\"iid\">23</tDWORD>\n"
            "            <tDWORD name=\"velk_clsid\">4097</tDWORD>\n"
            "        </key>\n"
            "    </key>\n"
            "</propertiesmap>\n");
}

TEST(QuarnProfilesXmlWriter, OptionalTaskValuesAndRegistryPath) {
  quarntest::ModelMaker maker;
  size_t component = maker.component("C", 1);
  maker.model.components[component].settingsTypeId = 0x10;
  size_t monitor = maker.taskType("M", component, true);
  ModelTask& task = maker.task("M", monitor);
  task.startAllowed = false;
  task.host = 7;
  task.tracerPrefix = "pfx";
  task.quarnRegistryPath = {"A", "B"};
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  std::string profiles = written.document.substr(0, written.document.find("<key name=\"types\">"));
  EXPECT_EQ(profiles,
            "<propertiesmap>\n"
            "    <key name=\"profiles\">\n"
            "        <key name=\"A\">\n"
            "            <key name=\"profiles\">\n"
            "                <key name=\"B\">\n"
            "                    <key name=\"profiles\">\n"
            "                        <key name=\"M\">\n"
            "                            <tSTRING name=\"type\">M</tSTRING>\n"
            "                            <tDWORD name=\"persistent\">1</tDWORD>\n"
            "                            <tDWORD name=\"enabled\">0</tDWORD>\n"
            "                            <tDWORD name=\"installed\">1</tDWORD>\n"
            "                            <tDWORD name=\"level\">0</tDWORD>\n"
            "                            <tDWORD name=\"remote\">1</tDWORD>\n"
            "                            <tSTRING name=\"velk_trace_prefix\">pfx</tSTRING>\n"
            "                            <tDWORD name=\"idSettings\">4294967279</tDWORD>\n"
            "                        </key>\n"
            "                    </key>\n"
            "                </key>\n"
            "            </key>\n"
            "        </key>\n"
            "    </key>\n    ");
}

TEST(QuarnProfilesXmlWriter, TypeWithComponentInterfacesListsAndSettings) {
  quarntest::ModelMaker maker;
  size_t component = maker.component("C", 1);
  ModelComponent& c = maker.model.components[component];
  c.constructIid = 2;
  c.settingsIid = 3;
  c.settingsTypeId = 4;
  size_t typeIndex = maker.taskType("Type", component);
  ModelTaskType& type = maker.model.taskTypes[typeIndex];
  type.statistics = {{0x50, 0x51}};
  type.requests = {{0x60, 0x61}, {0x62, 0x63}};
  type.events = {{0x70, 0x71}};
  type.quarnSettings = RetainedNode{quarntest::parseFragment("<quarn_settings><tDWORD name=\"x\">9</tDWORD>"
                                                             "</quarn_settings>"),
                                    nullptr};
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  EXPECT_TRUE(reporter->lines().empty());
  EXPECT_EQ(written.document,
            "<propertiesmap>\n"
            "    <key name=\"types\">\n"
            "        <key name=\"Type\">\n"
            "            <tDWORD name=\"pid\">2759588271</tDWORD>\n"
            "            <tDWORD name=\"iid\">23</tDWORD>\n"
            "            <tDWORD name=\"velk_clsid\">1</tDWORD>\n"
            "            <tDWORD name=\"velk_construct_iid\">2</tDWORD>\n"
            "            <tDWORD name=\"velk_settings_iid\">3</tDWORD>\n"
            "            <tDWORD name=\"velk_settings_serid\">4</tDWORD>\n"
            "            <tDWORD name=\"idStatistics\">4294967215</tDWORD>\n"
            "            <tDWORD name=\"velk_statistics_iid\">81</tDWORD>\n"
            "            <tDWORD name=\"velk_statistics_serid\">80</tDWORD>\n"
            "            <key name=\"velk_action_requests\">\n"
            "                <key name=\"0000\">\n"
            "                    <tDWORD name=\"iid\">97</tDWORD>\n"
            "                    <tDWORD name=\"serid\">96</tDWORD>\n"
            "                </key>\n"
            "                <key name=\"0001\">\n"
            "                    <tDWORD name=\"iid\">99</tDWORD>\n"
            "                    <tDWORD name=\"serid\">98</tDWORD>\n"
            "                </key>\n"
            "            </key>\n"
            "            <key name=\"velk_events\">\n"
            "                <key name=\"0000\">\n"
            "                    <tDWORD name=\"iid\">113</tDWORD>\n"
            "                    <tDWORD name=\"serid\">112</tDWORD>\n"
            "                </key>\n"
            "            </key>\n"
            "            <tDWORD name=\"idSettings\">4294967291</tDWORD>\n"
            "            <key name=\"settings\">\n"
            "                <tDWORD name=\"x\">9</tDWORD>\n"
            "            </key>\n"
            "        </key>\n"
            "    </key>\n"
            "</propertiesmap>\n");
}

TEST(QuarnProfilesXmlWriter, QuarnSettingsNeedTheComponentsSettingsType) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.tasks[0].quarnSettings = RetainedNode{
      quarntest::parseFragment("<quarn_settings><tDWORD name=\"x\">9</tDWORD></quarn_settings>"), nullptr};
  auto reporter = velk::make<testing::RecordingReporter>();
  Written without = writeOnce(maker.model, *reporter);
  EXPECT_EQ(without.document.find("settings"), std::string::npos);

  maker.model.components[0].settingsTypeId = 0;
  Written with = writeOnce(maker.model, *reporter);
  EXPECT_NE(with.document.find("            <tDWORD name=\"idSettings\">4294967295</tDWORD>\n"
                               "            <key name=\"settings\">\n"
                               "                <tDWORD name=\"x\">9</tDWORD>\n"
                               "            </key>\n"
                               "        </key>\n"
                               "    </key>\n"
                               "    <key name=\"types\">"),
            std::string::npos)
      << with.document;
}

TEST(QuarnProfilesXmlWriter, MoreThanOneStatisticsIsAnErrorAndTheFirstIsWritten) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.taskTypes[0].statistics = {{5, 6}, {7, 8}};
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  EXPECT_EQ(reporter->lines(),
            (std::vector<std::string>{"E -: Task type Type has has more than one statistics. "
                                      "Can't convert it to quarn config."}));
  EXPECT_NE(written.document.find("<tDWORD name=\"velk_statistics_serid\">5</tDWORD>"), std::string::npos);
  EXPECT_EQ(written.document.find("<tDWORD name=\"velk_statistics_serid\">7</tDWORD>"), std::string::npos);
}

// The record's elements as the document prints them at `indent` blanks.
std::string recordText(const cTaskSchedule& record, const std::string& indent) {
  std::string text;
  for (const QuarnValue& value : record.values())
    text += indent + "<" + value.element + " name=\"" + value.name + "\">" + value.text + "</" +
            value.element + ">\n";
  return text;
}

std::string scheduleKeyText(const cTaskSchedule& record) {
  return "            <key name=\"schedule\">\n" + recordText(record, "                ") +
         "                <key name=\"def\">\n" + recordText(record, "                    ") +
         "                </key>\n"
         "            </key>\n";
}

TEST(QuarnProfilesXmlWriter, ScheduleRecordGoesIntoScheduleAndDef) {
  quarntest::ModelMaker maker = oneTask();
  velk::scheduler::SecondsSchedule seconds;
  seconds.periodInSeconds = 3932159;
  maker.model.tasks[0].schedule = LocatedSchedule{scheduleOf(seconds), quarntest::at("a.xml", 4)};
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  cTaskSchedule expected;
  expected.mode = 1;
  expected.type = 0;
  expected.minutesCount = 65535;
  EXPECT_NE(
      written.document.find("            <tDWORD name=\"remote\">0</tDWORD>\n" + scheduleKeyText(expected) +
                            "        </key>\n"
                            "    </key>\n"),
      std::string::npos)
      << written.document;
}

TEST(QuarnProfilesXmlWriter, ScheduleTimesFollowTheCurrentDate) {
  quarntest::ModelMaker maker = oneTask();
  velk::scheduler::WeeklySchedule weekly;
  weekly.weekDays = 0x41;
  weekly.timeOfDay = 7200;
  maker.model.tasks[0].schedule = LocatedSchedule{scheduleOf(weekly), quarntest::at("a.xml", 4)};
  auto reporter = velk::make<testing::RecordingReporter>();
  std::time_t before = std::time(nullptr);
  Written written = writeOnce(maker.model, *reporter);
  std::time_t after = std::time(nullptr);
  cTaskSchedule expected;
  expected.mode = 1;
  expected.type = 3;
  expected.weekDays[0] = expected.weekDays[6] = true;
  expected.time = static_cast<int32_t>(before - before % 86400 + 7200);
  bool found = written.document.find(scheduleKeyText(expected)) != std::string::npos;
  expected.time = static_cast<int32_t>(after - after % 86400 + 7200);
  found = found || written.document.find(scheduleKeyText(expected)) != std::string::npos;
  EXPECT_TRUE(found) << written.document;
}

TEST(QuarnProfilesXmlWriter, OnTaskCompleteSchedulesAreRefusedAndTheWriteGoesOn) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.tasks[0].schedule =
      LocatedSchedule{scheduleOf(scheduler::OnTaskCompleteSchedule{}), quarntest::at("a.xml", 12)};
  size_t type = maker.model.tasks[0].taskType;
  ModelTask& other = maker.task("U", type);
  velk::scheduler::OnStartSchedule onStart;
  onStart.delayInSeconds = 120;
  other.schedule = LocatedSchedule{scheduleOf(onStart), quarntest::at("a.xml", 20)};
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  EXPECT_EQ(
      reporter->lines(),
      (std::vector<std::string>{"E a.xml(12): Legacy Task Manager does not support OnTaskCompleteSchedule"}));
  cTaskSchedule expected;
  expected.mode = 1;
  expected.type = 6;
  expected.startDelay = 2;
  size_t schedule = written.document.find("            <key name=\"schedule\">");
  EXPECT_EQ(written.document.find(scheduleKeyText(expected)), schedule);
  EXPECT_GT(schedule, written.document.find("<key name=\"U\">"));
}

TEST(QuarnProfilesXmlWriter, TasksOfTheSameNameShareTheirKey) {
  quarntest::ModelMaker maker = oneTask();
  maker.task("T", 0).startAllowed = false;
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_NE(written.document.find("            <tDWORD name=\"remote\">0</tDWORD>\n"
                                  "            <tSTRING name=\"type\">Type</tSTRING>\n"
                                  "            <tDWORD name=\"persistent\">0</tDWORD>\n"
                                  "            <tDWORD name=\"enabled\">0</tDWORD>\n"),
            std::string::npos)
      << written.document;
}

TEST(QuarnProfilesXmlWriter, SecondRunAddsValuesToTheExistingKeys) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.taskTypes[0].events = {{1, 2}};
  auto file = velk::make<MemoryFile>();
  auto reporter = velk::make<testing::RecordingReporter>();
  Written first = writeInto(*file, maker.model, *reporter);
  Written second = writeInto(*file, maker.model, *reporter);
  EXPECT_EQ(second.result, velk::errors::kOk);
  EXPECT_EQ(second.document,
            "<propertiesmap>\n"
            "    <key name=\"profiles\">\n"
            "        <key name=\"T\">\n"
            "            <tSTRING name=\"type\">Type</tSTRING>\n"
            "            <tDWORD name=\"persistent\">0</tDWORD>\n"
            "            <tDWORD name=\"enabled\">1</tDWORD>\n"
            "            <tDWORD name=\"installed\">1</tDWORD>\n"
            "            <tDWORD name=\"level\">0</tDWORD>\n"
            "            <tDWORD name=\"remote\">0</tDWORD>\n"
            "            <tSTRING name=\"type\">Type</tSTRING>\n"
            "            <tDWORD name=\"persistent\">0</tDWORD>\n"
            "            <tDWORD name=\"enabled\">1</tDWORD>\n"
            "            <tDWORD name=\"installed\">1</tDWORD>\n"
            "            <tDWORD name=\"level\">0</tDWORD>\n"
            "            <tDWORD name=\"remote\">0</tDWORD>\n"
            "        </key>\n"
            "    </key>\n"
            "    <key name=\"types\">\n"
            "        <key name=\"Type\">\n"
            "            <tDWORD name=\"pid\">2759588271</tDWORD>\n"
            "            <tDWORD name=\"iid\">23</tDWORD>\n"
            "            <tDWORD name=\"velk_clsid\">4097</tDWORD>\n"
            "            <key name=\"velk_events\">\n"
            "                <key name=\"0000\">\n"
            "                    <tDWORD name=\"iid\">2</tDWORD>\n"
            "                    <tDWORD name=\"serid\">1</tDWORD>\n"
            "                </key>\n"
            "            </key>\n"
            "            <tDWORD name=\"pid\">2759588271</tDWORD>\n"
            "            <tDWORD name=\"iid\">23</tDWORD>\n"
            "            <tDWORD name=\"velk_clsid\">4097</tDWORD>\n"
            "            <key name=\"velk_events\">\n"
            "                <key name=\"0000\">\n"
            "                    <tDWORD name=\"iid\">2</tDWORD>\n"
            "                    <tDWORD name=\"serid\">1</tDWORD>\n"
            "                </key>\n"
            "            </key>\n"
            "        </key>\n"
            "    </key>\n"
            "</propertiesmap>\n");
  EXPECT_NE(first.document, second.document);
}

TEST(QuarnProfilesXmlWriter, ExistingRootKeepsItsName) {
  auto file = velk::make<MemoryFile>("<map><key name=\"profiles\"/></map>");
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeInto(*file, oneTask().model, *reporter);
  EXPECT_EQ(written.document.rfind("<map>\n    <key name=\"profiles\">\n        <key name=\"T\">", 0), 0u)
      << written.document;
}

TEST(QuarnProfilesXmlWriter, EmptyModelWritesNothing) {
  auto file = velk::make<MemoryFile>();
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeInto(*file, ConfigurationModel{}, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  EXPECT_EQ(written.document, "");  // nothing changed, nothing saved
}

TEST(QuarnProfilesXmlWriter, TooDeepRegistryPathIsAnErrorForThatTaskOnly) {
  quarntest::ModelMaker maker = oneTask();
  maker.model.tasks[0].quarnRegistryPath.assign(498, "p");
  maker.model.tasks[0].location = quarntest::at("a.xml", 3);
  maker.task("U", 0).quarnRegistryPath.assign(497, "p");
  auto reporter = velk::make<testing::RecordingReporter>();
  Written written = writeOnce(maker.model, *reporter);
  EXPECT_EQ(written.result, velk::errors::kOk);
  EXPECT_EQ(reporter->lines(),
            (std::vector<std::string>{"E a.xml(3): Quarn registry path of task 'T' is nested too deeply"}));
  EXPECT_EQ(written.document.find("\"T\""), std::string::npos);
  EXPECT_NE(written.document.find("\"U\""), std::string::npos);
  // What was written can be read again.
  auto file = velk::make<MemoryFile>(written.document);
  EXPECT_TRUE(quarntest::parseDocument(file.get()));
}

TEST(QuarnProfilesXmlWriter, FirstFailingNodeOperationEndsTheWrite) {
  auto file = velk::make<MemoryFile>();
  auto root = quarntest::newDocument(file.get());
  velk::Ref<velk::IStorage> gone;
  ASSERT_EQ(root->CreateNode("gone", gone.put()), velk::errors::kOk);
  ASSERT_EQ(root->RemoveNode("gone"), velk::errors::kOk);
  auto reporter = velk::make<testing::RecordingReporter>();
  QuarnProfilesXmlTasksWriter writer(reporter.get(), gone.get());
  EXPECT_EQ(writer.write(oneTask().model), velk::errors::kInvalidState);
}

}  // namespace
}  // namespace app_core

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/command_runner.h"
#include "cli/current_directory.h"
#include "cli/run_context.h"
#include "cli/tool_main.h"
#include "console/helpers_exceptions.h"
#include "console/storage_error_reporter_proxy.h"
#include "temp_directory.h"
#include "velk/system_factory_table.h"

namespace app_core {
namespace {

namespace fs = std::filesystem;

TEST(AbsolutePath, CurrentDirectoryIsAbsolute) {
  EXPECT_EQ(currentDirectory(), fs::current_path().string());
}

TEST(AbsolutePath, EveryPathOfTheCommandButAnEmptyQuarnConfig) {
  CommandParameters p;
  p.command = Command::kCompile;
  p.xmlInputs = {"a.xml", "/abs.xml"};
  p.settingsDatabasePath = "s.kvdb";
  p.storageDatabasePath = "t.kvdb";
  p.vsmOutput = "o.vsm";
  p.traceFilePath = "trace.log";
  auto a = withAbsolutePaths(p, "/w");
  EXPECT_EQ(a.xmlInputs, (std::vector<std::string>{"/w/a.xml", "/abs.xml"}));
  EXPECT_EQ(a.settingsDatabasePath, "/w/s.kvdb");
  EXPECT_EQ(a.storageDatabasePath, "/w/t.kvdb");
  EXPECT_EQ(a.vsmOutput, "/w/o.vsm");
  EXPECT_EQ(a.quarnConfig, "");
  EXPECT_EQ(a.traceFilePath, "trace.log");
  p.quarnConfig = "ppp.reg";
  EXPECT_EQ(withAbsolutePaths(p, "/w").quarnConfig, "/w/ppp.reg");

  CommandParameters exchange;
  exchange.command = Command::kImport;
  exchange.singlePath = "in.xml";
  exchange.databasePath = "db/d.kvdb";
  a = withAbsolutePaths(exchange, "/w");
  EXPECT_EQ(a.singlePath, "/w/in.xml");
  EXPECT_EQ(a.databasePath, "/w/db/d.kvdb");
}

TEST(ExitStatus, LowEightBitsAndFailuresNeverZero) {
  EXPECT_EQ(exitStatus(0), 0);
  EXPECT_EQ(exitStatus(1), 1);
  EXPECT_EQ(exitStatus(velk::code(0x80000043)), 0x43);
  EXPECT_EQ(exitStatus(velk::code(0x8000004B)), 0x4B);
  EXPECT_EQ(exitStatus(velk::code(0x80000100)), 1);
  EXPECT_EQ(exitStatus(velk::code(0x800001FF)), 0xFF);
  EXPECT_EQ(exitStatus(0x12345600), 0);
}

TEST(Run, HelpRunsNothing) {
  CommandParameters p;
  p.command = Command::kHelp;
  std::ostringstream console;
  EXPECT_EQ(run(p, console), 1);
  EXPECT_EQ(console.str(), "");
}

// A stand-in for the XML storage factory, answered ahead of every table.
struct FakeXmlFactory : velk::ObjectBase<velk::IObject> {
  explicit FakeXmlFactory(velk::IServiceLocator*) {}
  velk::result_t QueryInterface(velk::iid_t iid, void** out) override {
    if (iid == kXmlStorageFactoryInterface) iid = 0;
    return ObjectBase::QueryInterface(iid, out);
  }
};
bool gFakeXml = false;
velk::result_t fakeSerializationTable(velk::IServiceLocator*, velk::clsid_t clsid, velk::IObjectFactory** out) {
  *out = nullptr;
  if (!gFakeXml || clsid != kXmlStorageFactoryClass) return velk::errors::kNotImplemented;
  *out = velk::make<velk::SimpleObjectFactory<FakeXmlFactory>>().detach();
  return velk::errors::kOk;
}

class RunContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerFactoryTables();
    velk::registerFactoryTable(velk::FactoryTableSlot::kSerialization, &fakeSerializationTable);
    gFakeXml = true;
    startCount_ = velk::liveObjectCount();
    parameters_.command = Command::kPack;
    parameters_.traceFilePath = (dir_.root() / "trace.log").string();
  }
  void TearDown() override {
    EXPECT_EQ(velk::liveObjectCount(), startCount_);
  }
  std::string traceText() {
    std::ifstream in(dir_.root() / "trace.log");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    return std::regex_replace(text, std::regex("(^|\n)\\d\\d:\\d\\d:\\d\\d\\.\\d{3} "), "$1T ");
  }
  int32_t startCount_ = 0;
  testing::TempDirectory dir_;
  CommandParameters parameters_;
};

TEST_F(RunContextTest, ReporterChainPrintsCountsAndTraces) {
  parameters_.messageLevel = 1;
  std::ostringstream console;
  {
    RunContext context(parameters_, console);
    const CommandEnvironment& env = context.environment();
    ASSERT_TRUE(env.locator && env.reporter && env.xmlStorageFactory);
    ASSERT_EQ(static_cast<helpers::StorageErrorReporter*>(env.counter), env.reporter);
    auto where = velk::make<helpers::FileLocation>(nullptr, "a.xml", 2);
    env.reporter->ReportError(where.get(), "broken");
    env.reporter->ReportWarning(where.get(), "odd");
    env.reporter->ReportMessage("Errors: 1, warnings: 1");
    EXPECT_EQ(env.counter->errorCount(), 1u);
    EXPECT_EQ(env.counter->warningCount(), 1u);
  }
  EXPECT_EQ(console.str(), "a.xml(2): Error: broken\nErrors: 1, warnings: 1\n");
  EXPECT_EQ(traceText(),
            "T 0x1 ALW loader\tTracer subsystem initialized\n"
            "T 0x2 ERR a.xml(2): Error: broken\n"
            "T 0x3 WRN a.xml(2): Warning: odd\n"
            "T 0x4 ALW Errors: 1, warnings: 1\n"
            "T 0x5 ALW loader\tTracer subsystem deinitialized\n");
}

TEST_F(RunContextTest, MessageLevelZeroKeepsTheConsoleQuietButNotTheTrace) {
  parameters_.messageLevel = 0;
  std::ostringstream console;
  {
    RunContext context(parameters_, console);
    context.environment().reporter->ReportError(nullptr, "e");
    context.environment().reporter->ReportMessage("m");
  }
  EXPECT_EQ(console.str(), "");
  EXPECT_EQ(traceText(),
            "T 0x1 ALW loader\tTracer subsystem initialized\nT 0x2 ERR Error: e\nT 0x3 ALW m\n"
            "T 0x4 ALW loader\tTracer subsystem deinitialized\n");
}

TEST_F(RunContextTest, MissingXmlStorageFactoryFailsAfterTheTracerIsUp) {
  gFakeXml = false;
  std::ostringstream console;
  try {
    RunContext context(parameters_, console);
    FAIL();
  } catch (const velk::CheckResultFailedException& e) {
    EXPECT_EQ(e.position().line, 144u);
  }
  EXPECT_EQ(traceText(),
            "T 0x1 ALW loader\tTracer subsystem initialized\n"
            "T 0x2 ALW loader\tTracer subsystem deinitialized\n");
}

TEST_F(RunContextTest, TraceFileInMissingDirectory) {
  parameters_.traceFilePath = (dir_.root() / "no" / "trace.log").string();
  std::ostringstream console;
  EXPECT_THROW(RunContext(parameters_, console), helpers::NamedObjectError);
}

TEST(ToolMain, TopLevelTextsAndStatuses) {
  std::ostringstream out, err;
  EXPECT_EQ(toolMain({}, out, err), 2);
  EXPECT_EQ(err.str(), "Exception: Command required\n");
  std::ostringstream out2, err2;
  EXPECT_EQ(toolMain({"pack", "--out=x"}, out2, err2), 2);
  EXPECT_EQ(out2.str(), "Error: *.xml file path is required (\"--xml\" option) .\n\nUse 'help' option for help.\n");
  EXPECT_EQ(err2.str(), "Exception: *.xml file path is required (\"--xml\" option) \n");
}

}  // namespace
}  // namespace app_core

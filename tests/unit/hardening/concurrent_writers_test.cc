// Several processes and threads writing into one database at once: a run
// that fails on the other writers' locks stores nothing, and every record of
// every run that succeeded is there afterwards, exactly as it was written.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>

#include "cli/command_parameters.h"
#include "cli/run_lock.h"
#include "cli/tool_main.h"
#include "recording_reporter.h"
#include "test_files.h"
#include "tool_process.h"

namespace hardening {
namespace {

constexpr int kKeysPerWriter = 2000;

class ConcurrentWriters : public ScratchFolder {
 public:
  using ScratchFolder::path;

 protected:
  struct Writer {
    std::string prefix;
    std::string input;
    int status = -1;
  };

  std::vector<Writer> makeWriters(int count) {
    std::vector<Writer> writers;
    for (int i = 0; i < count; ++i) {
      Writer writer{"w" + std::to_string(i) + "_", path("w" + std::to_string(i) + ".xml")};
      writeExchangeFile(writer.input, 0, kKeysPerWriter, "t" + std::to_string(i), writer.prefix);
      writers.push_back(writer);
    }
    return writers;
  }

  std::vector<std::string> importArguments(const Writer& writer) {
    return {"import", "-x", writer.input, "--db=" + path("shared.kvdb"), "-m", "0"};
  }

  // Every writer that succeeded has all its records; the others none.
  void expectCommittedRunsWhole(const std::vector<Writer>& writers) {
    DatabaseDump dump = dumpDatabase(path("shared.kvdb"));
    ASSERT_EQ(dump.integrity, "ok");
    std::set<std::string> rows(dump.rows.begin(), dump.rows.end());
    int succeeded = 0;
    for (size_t i = 0; i < writers.size(); ++i) {
      const Writer& writer = writers[i];
      int present = 0;
      for (int n = 0; n < kKeysPerWriter; ++n)
        present += static_cast<int>(rows.count(exchangeRow(writer.prefix, n, "t" + std::to_string(i))));
      if (writer.status == 0) {
        ++succeeded;
        EXPECT_EQ(present, kKeysPerWriter) << "writer " << i << " succeeded";
      } else {
        EXPECT_EQ(present, 0) << "writer " << i << " failed with " << writer.status;
        EXPECT_EQ(writer.status, 1) << "writer " << i << " must fail cleanly";
      }
    }
    EXPECT_GE(succeeded, 1);
    ::testing::Test::RecordProperty("succeeded", succeeded);
    EXPECT_EQ(dump.rows.size(), static_cast<size_t>(succeeded * kKeysPerWriter));
  }
};

// A configuration of its own for each compile: `services` services named
// "w<writer>.s<n>", each with settings.
std::string writeOwnConfiguration(const std::string& path, int writer, int services) {
  std::ofstream out(path);
  out << "<root>\n  <assembly name=\"asm\" module=\"m.so\"><component name=\"cfg\"/></assembly>\n"
      << "  <component name=\"cfg\" clsid=\"0x100\" settings_typeid=\"0x1\" construct_iid=\"0x2\"/>\n";
  for (int n = 0; n < services; ++n) {
    out << "  <service name=\"w" << writer << ".s" << n << "\" key=\"0x" << std::hex << (writer * 0x1000 + n + 1)
        << std::dec << "\" component=\"cfg\"><settings><n>" << n << "</n></settings></service>\n";
  }
  out << "</root>\n";
  return path;
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compiles and imports, `count` of each, as processes at once on one set of
// outputs: the lock lets them through one after the other, so every run
// succeeds and every run's content is in the .vsm and the databases.
void compilesAndImportsAtOnce(const ConcurrentWriters& test, int count) {
  constexpr int kServices = 40;
  std::vector<std::vector<std::string>> runs;
  for (int i = 0; i < count; ++i) {
    std::string input = writeOwnConfiguration(test.path("c" + std::to_string(i) + ".xml"), i, kServices);
    runs.push_back({"compile", "-p", "P", "-x", input, "--settings=" + test.path("out/settings.kvdb"),
                    "--storage=" + test.path("out/storage.kvdb"), "-e", test.path("out/config.vsm"), "-m", "0"});
    std::string records = test.path("i" + std::to_string(i) + ".xml");
    writeExchangeFile(records, 0, 200, "t" + std::to_string(i), "i" + std::to_string(i) + "_");
    runs.push_back({"import", "-x", records, "--db=" + test.path("out/settings.kvdb"), "-m", "0"});
  }
  std::vector<pid_t> children;
  for (const auto& run : runs) children.push_back(startTool(run));
  std::vector<int> status;
  for (pid_t child : children) status.push_back(waitTool(child));

  std::string vsm = fileText(test.path("out/config.vsm"));
  DatabaseDump settings = dumpDatabase(test.path("out/settings.kvdb"));
  ASSERT_EQ(settings.integrity, "ok");
  std::set<std::string> keys;
  for (const std::string& row : settings.rows) keys.insert(row.substr(0, row.find('=')));
  std::set<std::string> rows(settings.rows.begin(), settings.rows.end());
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(status[2 * i], 0) << "compile " << i;
    EXPECT_EQ(status[2 * i + 1], 0) << "import " << i;
    for (int n = 0; n < kServices; ++n) {
      std::string service = "w" + std::to_string(i) + ".s" + std::to_string(n);
      EXPECT_NE(vsm.find("name=\"" + service + "\""), std::string::npos) << service << " missing from the .vsm";
      EXPECT_EQ(keys.count(service + "/settings"), 1u) << service;
    }
    for (int n = 0; n < 200; ++n)
      EXPECT_EQ(rows.count(exchangeRow("i" + std::to_string(i) + "_", n, "t" + std::to_string(i))), 1u);
  }
}

TEST_F(ConcurrentWriters, FourCompilesAndFourImportsOnOneSetOfOutputs) { compilesAndImportsAtOnce(*this, 4); }

TEST_F(ConcurrentWriters, EightCompilesAndEightImportsOnOneSetOfOutputs) { compilesAndImportsAtOnce(*this, 8); }

// A run that finds its outputs locked past its patience reports it and
// gives up before opening anything.
TEST_F(ConcurrentWriters, ARunGivesUpOnOutputsLockedTooLong) {
  app_core::CommandParameters parameters;
  parameters.command = app_core::Command::kPack;
  parameters.xmlInputs = {path("in.xml")};
  parameters.singlePath = path("out/packed.xml");
  velk::AdvisoryLock holder;
  std::string blocked;
  std::filesystem::create_directories(path("out"));
  ASSERT_FALSE(holder.acquire({path("out")}, std::chrono::milliseconds(0), blocked));
  app_core::testing::RecordingReporter reporter;
  velk::AdvisoryLock lock;
  EXPECT_FALSE(app_core::lockRunOutputs(parameters, &reporter, lock, std::chrono::milliseconds(0)));
  EXPECT_EQ(reporter.errors(), std::vector<std::string>{"Another run kept writing in \"" + path("out") +
                                                        "\" for 0 s; nothing was written"});
  holder.release();
  EXPECT_TRUE(app_core::lockRunOutputs(parameters, &reporter, lock, std::chrono::milliseconds(0)));
  EXPECT_EQ(reporter.errors().size(), 1u);
}

TEST_F(ConcurrentWriters, ProcessesImportingAtOnce) {
  std::vector<Writer> writers = makeWriters(4);
  std::vector<pid_t> children;
  for (const Writer& writer : writers) children.push_back(startTool(importArguments(writer)));
  for (size_t i = 0; i < writers.size(); ++i) writers[i].status = waitTool(children[i]);
  expectCommittedRunsWhole(writers);
}

TEST_F(ConcurrentWriters, ThreadsAndProcessesImportingAtOnce) {
  app_core::registerFactoryTables();
  std::vector<Writer> writers = makeWriters(4);
  // Two writers run as threads of this process, two as processes.
  std::vector<pid_t> children = {startTool(importArguments(writers[2])), startTool(importArguments(writers[3]))};
  std::vector<std::thread> threads;
  for (int i = 0; i < 2; ++i) {
    threads.emplace_back([&, i] {
      std::ostringstream out;
      std::ostringstream err;
      writers[i].status = app_core::toolMain(importArguments(writers[i]), out, err);
    });
  }
  for (std::thread& thread : threads) thread.join();
  writers[2].status = waitTool(children[0]);
  writers[3].status = waitTool(children[1]);
  expectCommittedRunsWhole(writers);
}

// Two compiles as processes and one as a thread of this process write the
// same configuration into one pair of databases while two imports write
// records of their own into the settings database.
TEST_F(ConcurrentWriters, CompilesAndImportsAtOnce) {
  app_core::registerFactoryTables();
  std::string configuration = writeConfiguration(path("config"), 500);
  auto compileInto = [&](const std::string& settings, const std::string& storage, const std::string& vsm) {
    return std::vector<std::string>{"compile", "-p", "P", "-x", configuration, "--settings=" + settings,
                                    "--storage=" + storage, "-e", vsm, "-m", "0"};
  };
  ASSERT_EQ(runTool(compileInto(path("ref_settings.kvdb"), path("ref_storage.kvdb"), path("ref.vsm"))), 0);
  DatabaseDump settingsOfOneRun = dumpDatabase(path("ref_settings.kvdb"));
  DatabaseDump storageOfOneRun = dumpDatabase(path("ref_storage.kvdb"));

  std::vector<Writer> writers = makeWriters(2);
  std::vector<pid_t> compiles;
  for (const char* vsm : {"a.vsm", "b.vsm"})
    compiles.push_back(startTool(compileInto(path("shared.kvdb"), path("storage.kvdb"), path(vsm))));
  std::vector<pid_t> imports = {startTool(importArguments(writers[0])), startTool(importArguments(writers[1]))};
  int threadStatus = -1;
  std::thread thread([&] {
    std::ostringstream out;
    std::ostringstream err;
    threadStatus =
        app_core::toolMain(compileInto(path("shared.kvdb"), path("storage.kvdb"), path("c.vsm")), out, err);
  });
  thread.join();
  std::vector<int> compileStatus = {waitTool(compiles[0]), waitTool(compiles[1]), threadStatus};
  writers[0].status = waitTool(imports[0]);
  writers[1].status = waitTool(imports[1]);

  DatabaseDump settings = dumpDatabase(path("shared.kvdb"));
  DatabaseDump storage = dumpDatabase(path("storage.kvdb"));
  ASSERT_EQ(settings.integrity, "ok");
  ASSERT_EQ(storage.integrity, "ok");
  std::set<std::string> settingsRows(settings.rows.begin(), settings.rows.end());
  std::set<std::string> storageKeys;
  for (const std::string& row : storage.rows) storageKeys.insert(row.substr(0, row.find('=')));
  int compiled = 0;
  for (int status : compileStatus) {
    EXPECT_LT(status, 128);
    if (status != 0) continue;
    ++compiled;
    // Settings are the same after every run; the task records grow with
    // each run, so only their keys are compared.
    for (const std::string& row : settingsOfOneRun.rows) EXPECT_EQ(settingsRows.count(row), 1u) << row;
    for (const std::string& row : storageOfOneRun.rows)
      EXPECT_EQ(storageKeys.count(row.substr(0, row.find('='))), 1u) << row;
  }
  ::testing::Test::RecordProperty("compiled", compiled);
  for (size_t i = 0; i < writers.size(); ++i) {
    int present = 0;
    for (int n = 0; n < kKeysPerWriter; ++n)
      present += static_cast<int>(settingsRows.count(exchangeRow(writers[i].prefix, n, "t" + std::to_string(i))));
    EXPECT_EQ(present, writers[i].status == 0 ? kKeysPerWriter : 0) << "writer " << i;
  }
}

TEST_F(ConcurrentWriters, RunsOneAfterTheOtherAllSucceed) {
  std::vector<Writer> writers = makeWriters(3);
  for (Writer& writer : writers) writer.status = runTool(importArguments(writer));
  for (const Writer& writer : writers) EXPECT_EQ(writer.status, 0);
  expectCommittedRunsWhole(writers);
}

}  // namespace
}  // namespace hardening

// A writing command killed at any moment leaves every database it writes
// whole (it passes the integrity check) and holding exactly its old records
// or exactly its new ones. The moments are spread at random over the run.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <regex>
#include <thread>

#include "test_files.h"
#include "tool_process.h"

namespace hardening {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// One database of a run: the file it starts from, the file it writes, and
// what both hold before and after a whole run.
struct Database {
  Database(std::string baseFile, std::string workFile) : base(std::move(baseFile)), work(std::move(workFile)) {}

  std::string base;
  std::string work;
  DatabaseDump before;
  DatabaseDump after;
};

void resetTo(const std::string& base, const std::string& database) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(database + suffix);
  if (!base.empty()) fs::copy_file(base, database);
}

class KilledWriter : public ScratchFolder {
 protected:
  // Records each database's content before and after a whole run of
  // `arguments`; gives the time the run took.
  Clock::duration recordWholeRun(const std::vector<std::string>& arguments, std::vector<Database>& databases) {
    for (Database& database : databases) {
      if (!database.base.empty()) database.before = dumpDatabase(database.base);
      resetTo(database.base, database.work);
    }
    auto start = Clock::now();
    EXPECT_EQ(runTool(arguments), 0);
    Clock::duration span = Clock::now() - start;
    for (Database& database : databases) database.after = dumpDatabase(database.work);
    return span;
  }

  // Kills a run of `arguments` at `rounds` random moments, one in each
  // equal slice of `span`, each time on fresh copies of the bases. Counts
  // how often the old and the new records were found.
  void killAtRandomMoments(const std::vector<std::string>& arguments, const std::vector<Database>& databases,
                           Clock::duration span, int rounds) {
    std::mt19937 random(std::random_device{}());
    std::uniform_real_distribution<double> within(0.0, 1.0);
    for (int round = 0; round < rounds; ++round) {
      for (const Database& database : databases) resetTo(database.base, database.work);
      auto delay = std::chrono::duration_cast<Clock::duration>(span * ((round + within(random)) / rounds));
      pid_t child = startTool(arguments);
      std::this_thread::sleep_for(delay);
      ::kill(child, SIGKILL);
      waitTool(child);
      for (const Database& database : databases) expectOldOrNew(database, delay);
    }
  }

  void expectOldOrNew(const Database& database, Clock::duration delay) {
    // A new database killed before its file was made holds nothing.
    if (database.base.empty() && !fs::exists(database.work)) {
      ++oldFound;
      return;
    }
    DatabaseDump found = dumpDatabase(database.work);
    ASSERT_EQ(found.integrity, "ok") << database.work << " killed after " << delay.count() << " ns";
    if (found.rows == database.before.rows) {
      ++oldFound;
    } else {
      EXPECT_TRUE(found == database.after) << database.work << " killed after " << delay.count()
                                           << " ns: neither old nor new records (" << found.rows.size() << " rows)";
      ++newFound;
    }
  }

  void recordCounts() {
    RecordProperty("old", oldFound);
    RecordProperty("new", newFound);
  }

  int oldFound = 0;
  int newFound = 0;
};

TEST_F(KilledWriter, ImportHoldsItsOldOrItsNewRecords) {
  // The old database: 500 records, of which the import replaces 300 and
  // leaves 200; it adds 4,000 more.
  std::vector<Database> databases = {{path("base.kvdb"), path("work.kvdb")}};
  writeExchangeFile(path("old.xml"), 0, 500, "old");
  ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + databases[0].base}), 0);
  writeExchangeFile(path("new.xml"), 200, 4300, "new");
  std::vector<std::string> import = {"import", "-x", path("new.xml"), "--db=" + databases[0].work};

  Clock::duration span = recordWholeRun(import, databases);
  ASSERT_EQ(databases[0].before.rows.size(), 500u);
  ASSERT_EQ(databases[0].after.rows.size(), 4500u);
  // Slightly past the end, so that kills after the commit are seen too.
  killAtRandomMoments(import, databases, span * 11 / 10, roundsOr(10));
  EXPECT_GE(oldFound, 1) << "no kill came before the commit";
  recordCounts();
}

TEST_F(KilledWriter, ImportIntoANewDatabaseLeavesNoneOrAWholeOne) {
  std::vector<Database> databases = {{"", path("fresh.kvdb")}};
  writeExchangeFile(path("new.xml"), 0, 3000, "new");
  std::vector<std::string> import = {"import", "-x", path("new.xml"), "--db=" + databases[0].work};
  Clock::duration span = recordWholeRun(import, databases);
  killAtRandomMoments(import, databases, span, roundsOr(6));
  recordCounts();
}

TEST_F(KilledWriter, CompileLeavesEachDatabaseOldOrNew) {
  // Both databases start with records of their own, which the compile
  // extends with the settings and the tasks of a generated configuration.
  std::string configuration = writeConfiguration(path("config"), 2000);
  std::vector<Database> databases = {{path("settings_base.kvdb"), path("settings.kvdb")},
                                     {path("storage_base.kvdb"), path("storage.kvdb")}};
  writeExchangeFile(path("old.xml"), 0, 300, "old");
  for (const Database& database : databases)
    ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + database.base}), 0);
  std::vector<std::string> compile = {"compile", "-p", "P", "-x", configuration, "--settings=" + databases[0].work,
                                      "--storage=" + databases[1].work, "-e", path("config.vsm")};

  Clock::duration span = recordWholeRun(compile, databases);
  ASSERT_GT(databases[0].after.rows.size(), 1000u);
  ASSERT_GT(databases[1].after.rows.size(), 300u);
  killAtRandomMoments(compile, databases, span * 11 / 10, roundsOr(10));
  EXPECT_GE(oldFound, 1) << "no kill came before the commit";
  recordCounts();
}


std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One output of a compile, in the order the run finishes them: the storage
// database commits first, then the settings database, then the files are
// renamed into place in turn.
struct Output {
  std::string base;  // what the output starts from
  std::string work;  // what the run writes
  bool database;
  std::string before;  // a database's rows or a file's bytes, before and after a whole run
  std::string after;
};

// A database's rows as one text; nullopt when it fails the integrity check.
std::optional<std::string> contentOf(const Output& output) {
  if (!output.database) return fileText(output.work);
  DatabaseDump dump = dumpDatabase(output.work);
  if (dump.integrity != "ok") return std::nullopt;
  std::string rows;
  for (const std::string& row : dump.rows) rows += row + "\n";
  return rows;
}

void resetOutput(const Output& output) {
  if (output.database) {
    resetTo(output.base, output.work);
  } else {
    fs::remove(output.work);
    fs::copy_file(output.base, output.work);
  }
}

// The quarn files cannot hold a schedule that waits for another task; the
// generated configuration's are dropped.
void dropOnCompleteSchedules(const std::string& folder) {
  std::regex waiting("<schedule[^>]*><taskName>.*?</schedule>");
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string text = fileText(entry.path().string());
    std::ofstream(entry.path(), std::ios::binary) << std::regex_replace(text, waiting, "");
  }
}

class KilledCompile : public ScratchFolder {
 protected:
  // Kills the compile at `rounds` random moments in `span` and checks that
  // the outputs changed in the order of the finish: some first ones new, the
  // others old. Counts the kills that found all old, all new, or a mixture
  // (a kill between the first commit and the last rename).
  void killAtRandomMoments(const std::vector<std::string>& arguments, std::vector<Output>& outputs,
                           Clock::duration span, int rounds) {
    std::mt19937 random(std::random_device{}());
    std::uniform_real_distribution<double> within(0.0, 1.0);
    for (int round = 0; round < rounds; ++round) {
      for (const Output& output : outputs) resetOutput(output);
      // Every other kill falls into the last tenth of the run, where the
      // outputs are finished.
      double at = round % 2 == 0 ? (round + within(random)) / rounds : 0.9 + 0.1 * within(random);
      auto delay = std::chrono::duration_cast<Clock::duration>(span * at);
      pid_t child = startTool(arguments);
      std::this_thread::sleep_for(delay);
      // A user's interrupt and a service stop end the run as a kill does.
      constexpr int kSignals[] = {SIGKILL, SIGTERM, SIGINT};
      ::kill(child, kSignals[round % 3]);
      waitTool(child);
      classify(outputs, delay);
    }
    RecordProperty("all_old", allOld);
    RecordProperty("all_new", allNew);
    RecordProperty("between_commit_and_rename", mixed);
  }

  void classify(const std::vector<Output>& outputs, Clock::duration delay) {
    size_t newOnes = 0;
    bool seenOld = false;
    for (const Output& output : outputs) {
      std::optional<std::string> found = contentOf(output);
      ASSERT_TRUE(found) << output.work << " is damaged, killed after " << delay.count() << " ns";
      // An output the run leaves as it was tells nothing.
      if (output.before == output.after) continue;
      if (*found == output.before) {
        seenOld = true;
        continue;
      }
      ASSERT_EQ(*found, output.after) << output.work << " is neither old nor new, killed after " << delay.count()
                                      << " ns";
      ASSERT_FALSE(seenOld) << output.work << " is new although an output finished before it is old";
      ++newOnes;
    }
    if (newOnes == 0) {
      ++allOld;
    } else if (!seenOld) {
      ++allNew;
    } else {
      ++mixed;
    }
  }

  int allOld = 0;
  int allNew = 0;
  int mixed = 0;
};

// Both databases, the .vsm and a profiles.xml start with content of their
// own; the compile extends each of them.
TEST_F(KilledCompile, LeavesTheOutputsAllOldOrAllNewSaveBetweenCommitAndRename) {
  std::string configuration = writeConfiguration(path("config"), 1500);
  std::string seedConfiguration = writeConfiguration(path("seed"), 20);
  dropOnCompleteSchedules(path("config"));
  dropOnCompleteSchedules(path("seed"));
  std::vector<Output> outputs = {{path("storage_base.kvdb"), path("storage.kvdb"), true, {}, {}},
                                 {path("settings_base.kvdb"), path("settings.kvdb"), true, {}, {}},
                                 {path("config_base.vsm"), path("config.vsm"), false, {}, {}},
                                 {path("profiles_base.xml"), path("profiles.xml"), false, {}, {}}};
  auto compileInto = [&](const std::string& input, const std::vector<Output>& into, bool work) {
    auto file = [&](size_t i) { return work ? into[i].work : into[i].base; };
    return std::vector<std::string>{"compile", "-p", "P", "-x", input, "--storage=" + file(0),
                                    "--settings=" + file(1), "-e", file(2), "-g", file(3)};
  };
  ASSERT_EQ(runTool(compileInto(seedConfiguration, outputs, false)), 0);
  std::vector<std::string> compile = compileInto(configuration, outputs, true);
  for (Output& output : outputs) {
    resetOutput(output);
    output.before = *contentOf(output);
  }
  auto start = Clock::now();
  ASSERT_EQ(runTool(compile), 0);
  Clock::duration span = Clock::now() - start;
  for (Output& output : outputs) output.after = *contentOf(output);
  ASSERT_NE(outputs[1].before, outputs[1].after);
  ASSERT_NE(outputs[2].before, outputs[2].after);
  ASSERT_NE(outputs[3].before, outputs[3].after);
  killAtRandomMoments(compile, outputs, span * 11 / 10, roundsOr(12));
  EXPECT_GE(allOld, 1) << "no kill came before the commit";
}

// An existing pack output is rewritten whole: a kill leaves its old text or
// its new one, never the old text followed by zeros or a cut new one.
TEST_F(KilledCompile, PackLeavesItsOutputOldOrNew) {
  {
    std::ofstream input(path("big.xml"), std::ios::binary);
    input << "<root>";
    for (int n = 0; n < 60000; ++n) input << "<item n=\"" << n << "\">text " << n << "</item>";
    input << "</root>";
  }
  std::ofstream(path("base.xml"), std::ios::binary) << "<root>\r\n    <old />\r\n</root>\r\n";
  std::vector<Output> outputs = {{path("base.xml"), path("packed.xml"), false, {}, {}}};
  std::vector<std::string> pack = {"pack", "-x", path("big.xml"), "-o", path("packed.xml")};
  resetOutput(outputs[0]);
  outputs[0].before = fileText(path("packed.xml"));
  auto start = Clock::now();
  ASSERT_EQ(runTool(pack), 0);
  Clock::duration span = Clock::now() - start;
  outputs[0].after = fileText(path("packed.xml"));
  killAtRandomMoments(pack, outputs, span * 11 / 10, roundsOr(8));
}

}  // namespace
}  // namespace hardening

// A writing command killed at any moment leaves every database it writes
// whole (it passes the integrity check) and holding exactly its old records
// or exactly its new ones. The moments are spread at random over the run.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
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
  Database(std::string base, std::string work) : base(std::move(base)), work(std::move(work)) {}

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

}  // namespace
}  // namespace hardening

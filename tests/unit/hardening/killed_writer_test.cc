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

class KilledWriter : public ScratchFolder {
 protected:
  // Runs `arguments` to its end on a copy of `base` and gives the time it took.
  Clock::duration timeFullRun(const std::vector<std::string>& arguments) {
    auto start = Clock::now();
    EXPECT_EQ(runTool(arguments), 0);
    return Clock::now() - start;
  }

  // Kills a run of `arguments` at `rounds` random moments, one in each
  // equal slice of `span`, each on a fresh copy of `base` at `database`.
  // Counts how often the old and the new records were found.
  void killAtRandomMoments(const std::vector<std::string>& arguments, const std::string& base,
                           const std::string& database, const DatabaseDump& before, const DatabaseDump& after,
                           Clock::duration span, int rounds) {
    std::mt19937 random(std::random_device{}());
    std::uniform_real_distribution<double> within(0.0, 1.0);
    for (int round = 0; round < rounds; ++round) {
      resetTo(base, database);
      auto delay = std::chrono::duration_cast<Clock::duration>(span * ((round + within(random)) / rounds));
      pid_t child = startTool(arguments);
      std::this_thread::sleep_for(delay);
      ::kill(child, SIGKILL);
      waitTool(child);
      DatabaseDump found = dumpDatabase(database);
      ASSERT_EQ(found.integrity, "ok") << "killed after " << delay.count() << " ns";
      if (found == before) {
        ++oldFound;
      } else {
        ASSERT_TRUE(found == after) << "killed after " << delay.count() << " ns: neither old nor new records ("
                                    << found.rows.size() << " rows)";
        ++newFound;
      }
    }
  }

  void resetTo(const std::string& base, const std::string& database) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(database + suffix);
    fs::copy_file(base, database);
  }

  int oldFound = 0;
  int newFound = 0;
};

TEST_F(KilledWriter, ImportHoldsItsOldOrItsNewRecords) {
  // The old database: 500 records, of which the import replaces 300 and
  // leaves 200; it adds 4,000 more.
  std::string base = path("base.kvdb");
  writeExchangeFile(path("old.xml"), 0, 500, "old");
  ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + base}), 0);
  writeExchangeFile(path("new.xml"), 200, 4300, "new");
  std::vector<std::string> import = {"import", "-x", path("new.xml"), "--db=" + path("work.kvdb")};

  DatabaseDump before = dumpDatabase(base);
  ASSERT_EQ(before.rows.size(), 500u);
  resetTo(base, path("work.kvdb"));
  Clock::duration span = timeFullRun(import);
  DatabaseDump after = dumpDatabase(path("work.kvdb"));
  ASSERT_EQ(after.rows.size(), 4500u);

  // Slightly past the end, so that kills after the commit are seen too.
  killAtRandomMoments(import, base, path("work.kvdb"), before, after, span * 11 / 10, roundsOr(10));
  EXPECT_GE(oldFound, 1) << "no kill came before the commit";
  RecordProperty("old", oldFound);
  RecordProperty("new", newFound);
}

TEST_F(KilledWriter, ImportIntoANewDatabaseLeavesNoneOrAWholeOne) {
  writeExchangeFile(path("new.xml"), 0, 3000, "new");
  std::string database = path("fresh.kvdb");
  std::vector<std::string> import = {"import", "-x", path("new.xml"), "--db=" + database};
  auto start = Clock::now();
  ASSERT_EQ(runTool(import), 0);
  Clock::duration span = Clock::now() - start;
  DatabaseDump after = dumpDatabase(database);

  std::mt19937 random(std::random_device{}());
  int rounds = roundsOr(6);
  for (int round = 0; round < rounds; ++round) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(database + suffix);
    auto delay = std::chrono::duration_cast<Clock::duration>(
        span * ((round + std::uniform_real_distribution<double>(0, 1)(random)) / rounds));
    pid_t child = startTool(import);
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    waitTool(child);
    if (!fs::exists(database)) continue;
    DatabaseDump found = dumpDatabase(database);
    ASSERT_EQ(found.integrity, "ok");
    EXPECT_TRUE(found.rows.empty() || found == after) << found.rows.size() << " rows";
  }
}

}  // namespace
}  // namespace hardening

// An import that dies before its end leaves the database as it was: the
// whole run is one transaction, committed only when the command ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "kv/key_value_factory_table.h"
#include "kv/open_command_database.h"
#include "records/exchange_import.h"
#include "temp_directory.h"
#include "velk/basic_service_locator.h"
#include "xmlfile/open_xml_file.h"

namespace app_core {
namespace {

using velk::Ref;

Ref<data_storage::IKeyValueStorageFactory> databaseFactory() {
  velk::registerFactoryTable(velk::FactoryTableSlot::kKeyValue, &data_storage::keyValueFactoryTable);
  return velk::createObject<data_storage::IKeyValueStorageFactory>(nullptr,
                                                                   data_storage::class_ids::kKeyValueStorageManager);
}

void writeExchangeFile(const std::string& path, int keys) {
  std::ofstream out(path);
  out << "<root>\n<compiler version=\"1.10.19.0\" />\n<key name=\"old\"><root replaced=\"yes\" /></key>\n";
  for (int i = 0; i < keys; ++i) out << "<key name=\"k" << i << "\"><root a=\"" << i << "\"><c>text</c></root></key>\n";
  out << "</root>\n";
}

void storeOldRecord(const std::string& database) {
  auto factory = databaseFactory();
  auto store = openCommandDatabase(factory.get(), nullptr, database, DatabaseUse::kWrite);
  int64_t id = 0;
  ASSERT_EQ(store->Insert("old", "<root kept=\"yes\" />", id), velk::errors::kOk);
}

struct DatabaseState {
  std::string integrity;
  std::vector<std::string> rows;
};

DatabaseState readState(const std::string& path) {
  DatabaseState state;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    state.integrity = "cannot open";
    return state;
  }
  auto column = [&](const char* sql, std::vector<std::string>& out) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(statement, 0);
      out.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    sqlite3_finalize(statement);
  };
  std::vector<std::string> integrity;
  column("PRAGMA integrity_check", integrity);
  state.integrity = integrity.empty() ? "" : integrity.front();
  column("SELECT keylob || '=' || CAST(valuelob AS TEXT) FROM storage ORDER BY rowid", state.rows);
  sqlite3_close(db);
  return state;
}

const std::vector<std::string> kOldRows{"old=<root kept=\"yes\" />"};

// Imports in a child process that kills itself after the last record was
// stored and before the transaction is committed.
TEST(InterruptedImport, KilledBeforeTheCommitLeavesTheOldContent) {
  testing::TempDirectory dir;
  std::string database = dir.path("d.kvdb");
  std::string exchange = dir.path("in.xml");
  storeOldRecord(database);
  writeExchangeFile(exchange, 500);

  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto factory = databaseFactory();
    auto store = openCommandDatabase(factory.get(), nullptr, database, DatabaseUse::kWrite);
    auto root = helpers::openXmlFile(exchange, nullptr, nullptr);
    auto xml = velk::make<velk::XmlStorageFactory>();
    if (!root) ::_exit(3);
    importRecords(root.get(), store.get(), nullptr, xml.get(), nullptr);
    data_storage::Bytes value;
    int64_t id = 0;
    // Everything is in the transaction: the last record can be read back.
    if (store->FindByKey("k499", value, id) != velk::errors::kOk) ::_exit(4);
    ::raise(SIGKILL);
    ::_exit(5);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "child exited with " << WEXITSTATUS(status);
  EXPECT_EQ(WTERMSIG(status), SIGKILL);

  DatabaseState state = readState(database);
  EXPECT_EQ(state.integrity, "ok");
  EXPECT_EQ(state.rows, kOldRows);
}

// The command itself, killed at different moments: whatever the moment,
// the database holds either everything it held before or the whole import.
TEST(InterruptedImport, KilledCommandNeverLeavesHalfAnImport) {
  testing::TempDirectory dir;
  std::string exchange = dir.path("in.xml");
  constexpr int kKeys = 20000;
  writeExchangeFile(exchange, kKeys);
  int killedBeforeCommit = 0;
  for (int delayMs : {50, 150, 300, 600}) {
    std::string database = dir.path("d" + std::to_string(delayMs) + ".kvdb");
    storeOldRecord(database);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string db = "--db=" + database;
      std::string xml = "--xml=" + exchange;
      ::execl(HESK_BINARY, "hesk_config", "import", xml.c_str(), db.c_str(), "-m", "0", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    DatabaseState state = readState(database);
    EXPECT_EQ(state.integrity, "ok");
    if (state.rows == kOldRows) {
      ++killedBeforeCommit;
    } else {
      ASSERT_EQ(state.rows.size(), static_cast<size_t>(kKeys + 1)) << "after " << delayMs << " ms";
      EXPECT_EQ(state.rows.back(), "k19999=<root a=\"19999\">\r\n    <c>text</c>\r\n</root>\r\n");
    }
  }
  // The shortest delay is far below the time the import needs.
  EXPECT_GE(killedBeforeCommit, 1);
}

}  // namespace
}  // namespace app_core

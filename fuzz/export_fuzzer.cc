// The export over damaged databases: a valid store is made once, by
// importing a few records of every shape (nested, with attributes and text,
// long enough to overflow a page) and adding the rows the import never
// writes (an empty value, a value that is not XML, no key). The input is a list of
// patches to that store's bytes; the patched copy is exported. The export
// must fail cleanly (a framework exception or a failure result) or export
// what it can, and whatever it wrote must be a document the tool reads
// again.
//
// Input: patches, each two bytes of offset (big-endian, taken modulo the
// store's size), one byte N, then N bytes written at the offset; N = 0
// cuts the file at the offset instead.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_set>

#include "cli/tool_main.h"
#include "commands/exchange_commands.h"
#include "document_check.h"
#include "fuzz_input.h"
#include "quiet_run.h"
#include "scratch_stores.h"

namespace {

using namespace app_core;

std::string exchangeFile() {
  std::string xml = "<root><compiler version=\"1.10.19.0\"/>";
  xml += "<key name=\"/\"><root/></key>";
  xml += "<key name=\"services/one\"><root a=\"1\" b=\"two\">text<child x=\"&amp;&lt;\"><leaf/></child></root></key>";
  xml += "<key name=\"services/two\"><root><n><n><n><n deep=\"yes\"/></n></n></n></root></key>";
  for (int i = 0; i < 3; ++i) {
    std::string index = std::to_string(i);
    xml += "<key name=\"settings/" + index + "\"><root index=\"" + index + "\"><item value=\"" + index + "\">v</item>";
    // The last outgrows a page, with a long text rather than many elements:
    // the export's time goes to the store, not the XML. Few records keep
    // the file small, so that patches land on its structure more often than
    // on values, and every input pays for them twice (export, read back).
    if (i == 2) xml += "<long>" + std::string(1800, 'c') + "</long>";
    xml += "</root></key>";
  }
  return xml + "</root>";
}

void addRawRows(const std::string& database) {
  sqlite3* db = nullptr;
  if (sqlite3_open(database.c_str(), &db) != SQLITE_OK) __builtin_trap();
  const char* sql =
      "INSERT INTO storage (keyhash, keylob, valuelob) VALUES"
      " (1, 'broken', '<root><a></root>'), (2, 'empty', ''), (3, 'plain', 'just text'), (4, NULL, NULL)";
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) __builtin_trap();
  sqlite3_close(db);
}

std::string validStore;

std::string makeValidStore() {
  std::string xml = exchangeFile();
  auto [folder, input] = hesk_fuzz::writeInput(reinterpret_cast<const uint8_t*>(xml.data()), xml.size());
  std::string database = folder + "/valid.kvdb";
  if (velk::failed(importDatabase(hesk_fuzz::InputRun().environment(), input, database))) __builtin_trap();
  addRawRows(database);
  // One file again, in pages of 1 KB: a small file whose every part a
  // patch can reach, with the same kinds of pages as the tool's.
  sqlite3* db = nullptr;
  if (sqlite3_open(database.c_str(), &db) != SQLITE_OK) __builtin_trap();
  const char* compact =
      "PRAGMA journal_mode = DELETE; PRAGMA page_size = 1024; VACUUM; PRAGMA journal_mode = WAL;"
      " PRAGMA wal_checkpoint(TRUNCATE)";
  if (sqlite3_exec(db, compact, nullptr, nullptr, nullptr) != SQLITE_OK) __builtin_trap();
  sqlite3_close(db);
  std::string bytes;
  if (!hesk_fuzz::readFile(database, bytes)) __builtin_trap();
  return bytes;
}

std::string damaged(const uint8_t* data, size_t size) {
  std::string bytes = validStore;
  size_t at = 0;
  while (at + 3 <= size && !bytes.empty()) {
    size_t offset = ((size_t(data[at]) << 8) | data[at + 1]) % bytes.size();
    size_t length = data[at + 2];
    at += 3;
    if (length == 0) {
      bytes.resize(offset);
      continue;
    }
    length = std::min({length, size - at, bytes.size() - offset});
    bytes.replace(offset, length, reinterpret_cast<const char*>(data + at), length);
    at += length;
  }
  return bytes;
}

// Whether the export's document `bytes` reads again. Most damage leaves
// the export as some earlier input had it: bytes that read again once are
// not read again (their hashes are kept, up to a bound).
bool readsAgain(const std::string& path, const std::string& bytes) {
  static auto* known = new std::unordered_set<size_t>;
  size_t hash = std::hash<std::string>()(bytes);
  if (known->count(hash)) return true;
  if (!hesk_fuzz::readBack(path)) return false;
  if (known->size() >= (1u << 20)) known->clear();
  known->insert(hash);
  return true;
}

// The files of one export: the store, beside it the files SQLite makes
// (removed when it closes the store, unless the run ends early), and the
// document in a folder of its own that stays from one input to the next.
struct ExportFiles {
  std::string database;
  std::string xml;
  std::string leftovers[4];

  ExportFiles() {
    const std::string& folder = hesk_fuzz::freshScratchFolder();
    database = folder + "/records.kvdb";
    xml = folder + "/out/export.xml";
    std::filesystem::create_directories(folder + "/out");
    leftovers[0] = xml;
    for (int i = 1; const char* suffix : {"-wal", "-shm", "-journal"}) leftovers[i++] = database + suffix;
  }

  // Makes the store that of `bytes`, with nothing left by the previous
  // input: a few removals where emptying the folder listed it twice.
  void reset(const std::string& bytes) const {
    for (const std::string& leftover : leftovers) ::unlink(leftover.c_str());
    hesk_fuzz::writeFile(database, bytes);
  }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  hesk_fuzz::useScratchStores();
  registerFactoryTables();
  validStore = makeValidStore();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  static const ExportFiles* files = new ExportFiles;
  files->reset(damaged(data, size));
  try {
    exportDatabase(hesk_fuzz::InputRun().environment(), files->database, files->xml);
  } catch (const velk::Exception&) {
    // A damaged store fails as the command line reports it.
  }
  std::string written;
  if (hesk_fuzz::readFile(files->xml, written) && !readsAgain(files->xml, written))
    hesk_fuzz::propertyFails("the export wrote a document that does not read again");
  return 0;
}

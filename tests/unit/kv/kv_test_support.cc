#include "kv_test_support.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "kv/key_value_factory_table.h"

namespace data_storage::test {

velk::result_t RecordingTracer::GetRecord(uint32_t level, velk::TraceRecord& record) {
  record.level = level;
  return velk::errors::kOk;
}

velk::result_t RecordingTracer::CommitRecord(velk::TraceRecord& record) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back({record.level, record.text});
  return velk::errors::kOk;
}

std::vector<RecordingTracer::Line> RecordingTracer::lines() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool RecordingTracer::has(uint32_t level, const std::string& text) {
  for (const Line& line : lines())
    if (line.level == level && line.text == text) return true;
  return false;
}

bool RecordingTracer::hasPart(uint32_t level, const std::string& part) {
  for (const Line& line : lines())
    if (line.level == level && line.text.find(part) != std::string::npos) return true;
  return false;
}

velk::result_t TestLocator::GetService(velk::iid_t iid, uint32_t qualifier, void** out) {
  *out = nullptr;
  if (iid == velk::ITracer::IID && qualifier == 0 && tracer_) return tracer_->QueryInterface(iid, out);
  if (iid == IKeyValueStorageFactory::IID && factory_ && qualifier == factoryQualifier_)
    return factory_->QueryInterface(iid, out);
  return velk::errors::kNoInterface;
}

void registerKeyValueTable() {
  static std::once_flag once;
  std::call_once(once, [] { velk::registerFactoryTable(velk::FactoryTableSlot::kKeyValue, keyValueFactoryTable); });
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

RawDb::RawDb(const std::string& path, int flags) {
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open " + path);
  sqlite3_busy_timeout(db_, 10000);
}

RawDb::~RawDb() { sqlite3_close(db_); }

std::vector<std::string> RawDb::column(const std::string& sql) {
  std::vector<std::string> values;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db_));
  while (sqlite3_step(statement) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(statement, 0);
    values.emplace_back(text ? reinterpret_cast<const char*>(text) : "<null>");
  }
  sqlite3_finalize(statement);
  return values;
}

int RawDb::exec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }

std::string journalMode(const std::string& path) {
  RawDb db(path, SQLITE_OPEN_READONLY);
  return db.column("PRAGMA journal_mode").at(0);
}

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

}  // namespace data_storage::test

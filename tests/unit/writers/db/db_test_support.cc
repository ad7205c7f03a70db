#include "db_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "console/null_tracer.h"
#include "front/configuration_reader.h"
#include "front/model_builder.h"
#include "recording_reporter.h"
#include "schedule/schedule_serializer.h"
#include "schedule/serializer_factory.h"
#include "xmlfile/open_xml_file.h"

namespace app_core::testing {

Database::Database(std::string path) : path_(std::move(path)) { reopen(); }

void Database::reopen() {
  auto store = velk::make<data_storage::KeyValueStorage>();
  store->openFile(path_);
  context_ = {store, velk::make<NullTracer>(), velk::make<velk::XmlStorageFactory>()};
}

void Database::close() { context_.database.reset(); }

std::optional<std::string> Database::record(const std::string& key) const {
  data_storage::Bytes value;
  int64_t id = 0;
  velk::result_t r = context_.database->FindByKey(key, value, id);
  if (r == velk::errors::kNotFound) return std::nullopt;
  EXPECT_EQ(r, velk::errors::kOk) << key;
  return std::string(value.begin(), value.end());
}

std::vector<std::string> Database::keys() const {
  std::vector<std::string> keys;
  for (int64_t id = 1;; ++id) {
    data_storage::Bytes key;
    data_storage::Bytes value;
    if (velk::failed(context_.database->GetById(id, key, value))) break;
    keys.emplace_back(key.begin(), key.end());
  }
  return keys;
}

std::optional<std::string> readRecordWithSqlite(const std::string& path, const std::string& key) {
  sqlite3* db = nullptr;
  std::optional<std::string> found;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT valuelob FROM storage WHERE keylob = ?1", -1, &statement, nullptr);
    sqlite3_bind_blob(statement, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) == SQLITE_ROW) {
      const char* bytes = static_cast<const char*>(sqlite3_column_blob(statement, 0));
      found = std::string(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(statement, 0)));
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return found;
}

ModelSource::ModelSource(const TempDirectory& dir) : dir_(dir) {
  serializer = createScheduleSerializer(velk::make<velk::SerializerFactory>(nullptr).get());
  adapters = velk::make<velk::ValuesFreeStorageFactory>(nullptr);
}

ConfigurationModel ModelSource::build(const std::string& body) {
  std::string path = dir_.path("config" + std::to_string(++documents_) + ".xml");
  std::ofstream(path, std::ios::binary) << "<root>\n" << body << "\n</root>\n";
  auto reporter = velk::make<RecordingReporter>();
  auto root = helpers::openXmlFile(path, reporter.get(), nullptr);
  EXPECT_TRUE(root);
  SourceConfiguration source;
  if (root) readConfiguration(reporter.get(), root.get(), {serializer.get(), adapters.get()}, source);
  ConfigurationModel model = buildModel(source, reporter.get());
  EXPECT_EQ(reporter->errors(), std::vector<std::string>{});
  return model;
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

std::string document(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace app_core::testing

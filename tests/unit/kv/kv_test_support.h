// Helpers of the key-value store tests: a recording tracer, a small service
// locator and direct reads of database files.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "kv/key_value_factory_interfaces.h"
#include "temp_directory.h"
#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace data_storage::test {

using app_core::testing::TempDirectory;

class RecordingTracer : public velk::ObjectBase<velk::ITracer> {
 public:
  struct Line {
    uint32_t level;
    std::string text;
  };
  velk::result_t GetRecord(uint32_t level, velk::TraceRecord& record) override;
  velk::result_t CommitRecord(velk::TraceRecord& record) override;
  std::vector<Line> lines();
  // True when a line at `level` equals `text`.
  bool has(uint32_t level, const std::string& text);
  // True when some line at `level` contains `part`.
  bool hasPart(uint32_t level, const std::string& part);

 private:
  std::mutex mutex_;
  std::vector<Line> lines_;
};

// Serves the tracer and, when set, a path-based factory for any qualifier
// equal to `factoryQualifier`.
class TestLocator : public velk::ObjectBase<velk::IServiceLocator> {
 public:
  explicit TestLocator(velk::Ref<velk::ITracer> tracer) : tracer_(std::move(tracer)) {}
  velk::result_t GetService(velk::iid_t iid, uint32_t qualifier, void** out) override;
  void setFactory(velk::Ref<IKeyValueStorageFactory> factory, uint32_t qualifier = 0) {
    factory_ = std::move(factory);
    factoryQualifier_ = qualifier;
  }

 private:
  velk::Ref<velk::ITracer> tracer_;
  velk::Ref<IKeyValueStorageFactory> factory_;
  uint32_t factoryQualifier_ = 0;
};

// Registers the library's factory table once.
void registerKeyValueTable();

// Makes an object of the library by class identifier.
template <class I>
velk::Ref<I> createByClass(velk::IServiceLocator* locator, velk::clsid_t clsid) {
  registerKeyValueTable();
  return velk::createObject<I>(locator, clsid);
}

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// A direct connection to a database file, outside the store.
class RawDb {
 public:
  explicit RawDb(const std::string& path, int flags = SQLITE_OPEN_READWRITE);
  ~RawDb();
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;
  // Column 0 of every row, as text.
  std::vector<std::string> column(const std::string& sql);
  int exec(const std::string& sql);
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// The journal mode as the engine reports it ("wal", "delete", ...).
std::string journalMode(const std::string& path);

Bytes bytes(const std::string& text);

}  // namespace data_storage::test

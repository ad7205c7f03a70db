// One SQLite connection with the store's checks: every failing library call
// is traced and raised as an exception carrying the mapped result code.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "velk/exception.h"
#include "velk/tracer.h"

namespace data_storage {

using StatementHandle = std::shared_ptr<sqlite3_stmt>;

// Open flags of the store's connections.
namespace open_flags {
constexpr int kFileStore = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_SHAREDCACHE;
constexpr int kReadWrite = SQLITE_OPEN_READWRITE;
constexpr int kReadOnly = SQLITE_OPEN_READONLY;
constexpr int kMemory = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}  // namespace open_flags

// The result code for a SQLite result, decided by its primary (low 8 bit) code.
velk::result_t mapSqliteResult(int result);

class SqliteDatabase {
 public:
  explicit SqliteDatabase(velk::ITracer* tracer = nullptr) : tracer_(tracer) {}

  // Replaces the connection held so far; the handle is kept even when the
  // open fails, so that it is closed with the others.
  void open(const std::string& path, int flags);
  void close() { handle_.reset(); }

  // Raises for any result but SQLITE_OK.
  void check(int result) const;
  // A prepared statement that keeps the connection open while it lives.
  StatementHandle prepare(std::string_view sql) const;
  // True when a row is available; waits for locks held by other connections.
  bool step(sqlite3_stmt* statement) const;
  // Runs every statement of `sql` in order, each stepped once.
  void execute(std::string_view sql) const;
  // Column 0 of the first row of `sql` as text.
  std::string queryText(std::string_view sql) const;

  void bindInt64(sqlite3_stmt* statement, int index, int64_t value) const;
  // Binds without copying; an empty range is a zero-length blob, not null.
  void bindBlob(sqlite3_stmt* statement, int index, const uint8_t* data, size_t size) const;

  sqlite3* handle() const { return handle_.get(); }
  velk::ITracer* tracer() const { return tracer_; }
  bool inTransaction() const { return handle_ && sqlite3_get_autocommit(handle_.get()) == 0; }

 private:
  [[noreturn]] void raise(int result, std::string_view context) const;
  std::string message() const;

  velk::ITracer* tracer_;
  std::shared_ptr<sqlite3> handle_;
};

// Resets a statement and clears its bindings when a use of it ends, however
// it ends.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* statement) : statement_(statement) {}
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;
  ~StatementUse() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
  }
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_;
};

// The source position of exceptions raised by the store.
constexpr const char* kStorageSource = "key_value_storage/source/key_value_storage/key_value_storage";

}  // namespace data_storage

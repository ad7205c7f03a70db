#include "kv/sqlite_database.h"

#include <climits>

#include "kv/unlock_notify_wait.h"

namespace data_storage {
namespace {

const uint8_t kNoBytes[1] = {0};

bool isLocked(int result) { return (result & 0xFF) == SQLITE_LOCKED; }

}  // namespace

velk::result_t mapSqliteResult(int result) {
  switch (result & 0xFF) {
    case SQLITE_OK: return velk::errors::kOk;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return velk::errors::kBasesCorrupted;
    case SQLITE_FULL: return velk::errors::kOutOfSpace;
    default: return velk::errors::kUnspecified;
  }
}

void SqliteDatabase::open(const std::string& path, int flags) {
  handle_.reset();
  sqlite3* raw = nullptr;
  int result = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  handle_.reset(raw, sqlite3_close);
  if (result != SQLITE_OK) {
    velk::trace(tracer_, velk::trace_level::kError,
                "kv_st\tFailed to open DB: " + path + "; SQLite returned " + std::to_string(result));
    check(result);
  }
  sqlite3_busy_timeout(raw, static_cast<int>(UnlockNotifyWait::kLimit.count()));
  sqlite3_extended_result_codes(raw, 1);
}

std::string SqliteDatabase::message() const {
  const char* text = handle_ ? sqlite3_errmsg(handle_.get()) : nullptr;
  return text ? text : "out of memory";
}

void SqliteDatabase::raise(int result, std::string_view context) const {
  std::string text = "SQLite error: ";
  text += context;
  text += std::to_string(result) + ", " + message();
  velk::trace(tracer_, velk::trace_level::kError, text);
  throw velk::InvalidResultException({kStorageSource, __LINE__}, message(), mapSqliteResult(result));
}

void SqliteDatabase::check(int result) const {
  if (result != SQLITE_OK) raise(result, {});
}

StatementHandle SqliteDatabase::prepare(std::string_view sql) const {
  sqlite3_stmt* raw = nullptr;
  int result = sqlite3_prepare_v2(handle_.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
  if (result != SQLITE_OK) {
    sqlite3_finalize(raw);
    raise(result, "sqlite3_prepare_v2 failed; returned ");
  }
  return StatementHandle(raw, [connection = handle_](sqlite3_stmt* s) { sqlite3_finalize(s); });
}

bool SqliteDatabase::step(sqlite3_stmt* statement) const {
  int result = sqlite3_step(statement);
  UnlockNotifyWait waiter(handle_.get());
  while (isLocked(result)) {
    switch (waiter.wait()) {
      case UnlockNotifyWait::Outcome::kUnlocked:
        break;
      case UnlockNotifyWait::Outcome::kTimedOut:
        throw velk::InvalidResultException({kStorageSource, __LINE__}, "SQLite step timeout",
                                           velk::errors::kUnexpected);
      case UnlockNotifyWait::Outcome::kDeadlock:
        raise(result, {});
    }
    result = sqlite3_step(statement);
  }
  if (result == SQLITE_DONE) return false;
  if (result == SQLITE_ROW) return true;
  raise(result, {});
}

void SqliteDatabase::execute(std::string_view sql) const {
  while (!sql.empty()) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int result = sqlite3_prepare_v2(handle_.get(), sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    if (result != SQLITE_OK) {
      sqlite3_finalize(raw);
      raise(result, "sqlite3_prepare_v2 failed; returned ");
    }
    sql.remove_prefix(static_cast<size_t>(tail - sql.data()));
    if (!raw) continue;  // only blanks or a comment were left
    StatementHandle statement(raw, sqlite3_finalize);
    step(raw);
  }
}

std::string SqliteDatabase::queryText(std::string_view sql) const {
  StatementHandle statement = prepare(sql);
  if (!step(statement.get()))
    throw velk::InvalidResultException({kStorageSource, __LINE__}, "Step(statement.get())",
                                       velk::errors::kUnexpected);
  const unsigned char* text = sqlite3_column_text(statement.get(), 0);
  return text ? reinterpret_cast<const char*>(text) : "";
}

void SqliteDatabase::bindInt64(sqlite3_stmt* statement, int index, int64_t value) const {
  check(sqlite3_bind_int64(statement, index, value));
}

void SqliteDatabase::bindBlob(sqlite3_stmt* statement, int index, const uint8_t* data, size_t size) const {
  if (size == 0) data = kNoBytes;
  // Beyond the int range only the 64-bit call can report the size honestly.
  int result = size <= static_cast<size_t>(INT_MAX)
                   ? sqlite3_bind_blob(statement, index, data, static_cast<int>(size), SQLITE_STATIC)
                   : sqlite3_bind_blob64(statement, index, data, size, SQLITE_STATIC);
  check(result);
}

}  // namespace data_storage

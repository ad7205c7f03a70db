#include "kv/key_value_storage.h"

#include "kv/key_hash.h"
#include "kv/key_value_enumerator.h"
#include "kv/operation_guard.h"

namespace data_storage {

const char* const kCreateTableSql =
    "\t\tCREATE TABLE IF NOT EXISTS storage ("
    "\t\t\tid INTEGER PRIMARY KEY ASC,"
    "\t\t\tkeyhash INTEGER,"
    "\t\t\tkeylob BLOB,"
    "\t\t\tvaluelob BLOB)\t";
const char* const kCreateIndexSql = "CREATE INDEX IF NOT EXISTS storage_key ON storage (keyhash ASC)";

namespace {

constexpr const char* kPragmasSql =
    "\t\tPRAGMA JOURNAL_MODE = WAL;"
    "\t\tPRAGMA CACHE_SIZE = 128;"
    "\t\tPRAGMA SYNCHRONOUS = FULL;\t";

constexpr const char* kStatementSql[] = {
    "INSERT INTO storage (keyhash, keylob, valuelob) VALUES (?001, ?002, ?003)",
    "UPDATE storage SET valuelob = ?003 WHERE keyhash = ?001 AND keylob = ?002",
    "UPDATE storage SET valuelob = ?002 WHERE rowid = ?001",
    "SELECT rowid, valuelob FROM storage WHERE keyhash = ?001 AND keylob = ?002",
    "SELECT keylob, valuelob FROM storage WHERE rowid = ?001",
    "DELETE FROM storage WHERE keyhash = ?001 AND keylob = ?002",
    "DELETE FROM storage WHERE rowid = ?001",
    "SELECT keylob FROM storage WHERE rowid = ?001",
    "SELECT valuelob FROM storage WHERE rowid = ?001",
    "BEGIN TRANSACTION",
    "COMMIT TRANSACTION",
    "ROLLBACK TRANSACTION",
};
static_assert(std::size(kStatementSql) == static_cast<size_t>(Statement::kCount));

void readColumn(sqlite3_stmt* statement, int column, Bytes& out) {
  const auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(statement, column));
  int size = sqlite3_column_bytes(statement, column);
  if (data && size > 0) {
    out.assign(data, data + size);
  } else {
    out.clear();
  }
}

[[noreturn]] void raiseNoRecord(const char* message) {
  throw velk::InvalidResultException({kStorageSource, __LINE__}, message, velk::errors::kNotFound);
}

// Makes a change of several statements all or nothing when the caller has no
// transaction of its own; inside the caller's transaction the caller decides.
// The transaction takes the write lock at once, so that a check and the write
// that depends on it cannot be split by another connection.
class AtomicChange {
 public:
  explicit AtomicChange(const SqliteDatabase& db) : db_(db), owned_(!db.inTransaction()) {
    if (owned_) db_.execute("BEGIN IMMEDIATE TRANSACTION");
  }
  AtomicChange(const AtomicChange&) = delete;
  AtomicChange& operator=(const AtomicChange&) = delete;
  ~AtomicChange() {
    if (!owned_ || !db_.inTransaction()) return;
    try {
      db_.execute("ROLLBACK TRANSACTION");
    } catch (...) {
      // The connection rolls back when it closes at the latest.
    }
  }
  void commit() {
    if (owned_) db_.execute("COMMIT TRANSACTION");
  }

 private:
  const SqliteDatabase& db_;
  bool owned_;
};

}  // namespace

bool isDeleteJournalMode(const std::string& mode) {
  if (mode == "DELETE" || mode == "delete") return true;
  if (mode == "WAL" || mode == "wal") return false;
  throw velk::InvalidResultException({kStorageSource, __LINE__}, "Unexpected journal mode",
                                     velk::errors::kInvalidResult);
}

KeyValueStorage::KeyValueStorage(velk::Ref<velk::ITracer> tracer)
    : tracer_(std::move(tracer)), db_(tracer_.get()) {}

template <class Body>
velk::result_t KeyValueStorage::locked(Body&& body) {
  return guardOperation(tracer_.get(), [&] {
    std::lock_guard<std::mutex> guard(mutex_);
    return body();
  });
}

sqlite3_stmt* KeyValueStorage::statement(Statement which) {
  StatementHandle& slot = statements_[static_cast<size_t>(which)];
  if (!slot) slot = db_.prepare(kStatementSql[static_cast<size_t>(which)]);
  return slot.get();
}

void KeyValueStorage::bindKey(sqlite3_stmt* statement, uint32_t hash, ByteRange key) {
  db_.bindInt64(statement, 1, static_cast<int64_t>(hash));
  db_.bindBlob(statement, 2, key.begin, key.size());
}

bool KeyValueStorage::findId(uint32_t hash, ByteRange key, int64_t& id) {
  StatementUse use(statement(Statement::kFindByKey));
  bindKey(use.get(), hash, key);
  if (!db_.step(use.get())) return false;
  id = sqlite3_column_int64(use.get(), 0);
  return true;
}

// No record to change is an everyday answer (an import removes every key
// before it stores it): it is returned, traced as if it had been thrown.
velk::result_t KeyValueStorage::changeOne(sqlite3_stmt* statement) {
  db_.step(statement);
  int changes = sqlite3_changes(db_.handle());
  if (changes == 0) {
    return traceFailure(tracer_.get(), velk::errors::kNotFound, [] {
      return velk::InvalidResultException({kStorageSource, __LINE__}, "changes != 0", velk::errors::kNotFound);
    });
  }
  if (changes != 1)
    throw velk::InvalidResultException({kStorageSource, __LINE__}, "changes == 1", velk::errors::kUnexpected);
  return velk::errors::kOk;
}

void KeyValueStorage::readById(Statement which, int64_t id, Bytes& out) {
  StatementUse use(statement(which));
  db_.bindInt64(use.get(), 1, id);
  if (!db_.step(use.get())) raiseNoRecord("Step(get)");
  readColumn(use.get(), 0, out);
}

velk::result_t KeyValueStorage::Insert(ByteRange key, ByteRange value, int64_t& id) {
  return locked([&] {
    AtomicChange change(db_);
    uint32_t hash = keyHash(key);
    if (findId(hash, key, id)) return velk::errors::kAlreadyExists;
    {
      StatementUse use(statement(Statement::kInsert));
      bindKey(use.get(), hash, key);
      db_.bindBlob(use.get(), 3, value.begin, value.size());
      db_.step(use.get());
    }
    int64_t newId = sqlite3_last_insert_rowid(db_.handle());
    change.commit();
    id = newId;
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::UpdateByKey(ByteRange key, ByteRange value) {
  return locked([&] {
    AtomicChange change(db_);
    StatementUse use(statement(Statement::kUpdateByKey));
    bindKey(use.get(), keyHash(key), key);
    db_.bindBlob(use.get(), 3, value.begin, value.size());
    velk::result_t r = changeOne(use.get());
    if (velk::succeeded(r)) change.commit();
    return r;
  });
}

velk::result_t KeyValueStorage::UpdateById(int64_t id, ByteRange value) {
  return locked([&] {
    StatementUse use(statement(Statement::kUpdateById));
    db_.bindInt64(use.get(), 1, id);
    db_.bindBlob(use.get(), 2, value.begin, value.size());
    return changeOne(use.get());
  });
}

velk::result_t KeyValueStorage::FindByKey(ByteRange key, Bytes& value, int64_t& id) {
  return locked([&] {
    StatementUse use(statement(Statement::kFindByKey));
    bindKey(use.get(), keyHash(key), key);
    if (!db_.step(use.get())) return velk::errors::kNotFound;
    readColumn(use.get(), 1, value);
    id = sqlite3_column_int64(use.get(), 0);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::GetById(int64_t id, Bytes& key, Bytes& value) {
  return locked([&] {
    StatementUse use(statement(Statement::kGetById));
    db_.bindInt64(use.get(), 1, id);
    if (!db_.step(use.get())) raiseNoRecord("Step(get)");
    readColumn(use.get(), 0, key);
    readColumn(use.get(), 1, value);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::RemoveByKey(ByteRange key) {
  return locked([&] {
    AtomicChange change(db_);
    StatementUse use(statement(Statement::kRemoveByKey));
    bindKey(use.get(), keyHash(key), key);
    velk::result_t r = changeOne(use.get());
    if (velk::succeeded(r)) change.commit();
    return r;
  });
}

velk::result_t KeyValueStorage::RemoveById(int64_t id) {
  return locked([&] {
    StatementUse use(statement(Statement::kRemoveById));
    db_.bindInt64(use.get(), 1, id);
    return changeOne(use.get());
  });
}

velk::result_t KeyValueStorage::CreateEnumerator(IIndexedKeyValueEnumerator** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  return locked([&] {
    StatementHandle rows = db_.prepare("SELECT rowid FROM storage");
    *out = velk::make<KeyValueEnumerator>(velk::Ref<KeyValueStorage>(this), std::move(rows)).detach();
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::Compact() {
  return locked([&] {
    db_.execute("VACUUM");
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::Clear() {
  return locked([&] {
    db_.execute("DELETE FROM storage");
    return velk::errors::kOk;
  });
}

void KeyValueStorage::stepTransactionStatement(Statement which) {
  StatementUse use(statement(which));
  db_.step(use.get());
}

velk::result_t KeyValueStorage::BeginTransaction() {
  return locked([&] {
    stepTransactionStatement(Statement::kBegin);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::CommitTransaction() {
  return locked([&] {
    stepTransactionStatement(Statement::kCommit);
    return velk::errors::kOk;
  });
}

velk::result_t KeyValueStorage::RollbackTransaction() {
  return locked([&] {
    stepTransactionStatement(Statement::kRollback);
    return velk::errors::kOk;
  });
}

void KeyValueStorage::createSchema() {
  db_.execute("BEGIN TRANSACTION");
  try {
    db_.execute(kCreateTableSql);
    db_.execute(kCreateIndexSql);
    db_.execute("COMMIT TRANSACTION");
  } catch (...) {
    // Leave nothing half made behind: the caller drops the store.
    try {
      if (db_.inTransaction()) db_.execute("ROLLBACK TRANSACTION");
    } catch (...) {
    }
    throw;
  }
}

void KeyValueStorage::openFile(const std::string& path) {
  db_.open(path, open_flags::kFileStore);
  createSchema();
  db_.execute(kPragmasSql);
  path_ = path;
}

bool KeyValueStorage::queryJournalMode(const std::string& path) {
  db_.open(path, open_flags::kReadOnly);
  return isDeleteJournalMode(db_.queryText("PRAGMA JOURNAL_MODE"));
}

void KeyValueStorage::changeJournalMode(const std::string& path, bool deleteMode) {
  db_.open(path, open_flags::kReadWrite);
  // The engine keeps the old mode without an error when it cannot switch;
  // the mode it reports tells whether the change took place.
  std::string mode = db_.queryText(deleteMode ? "PRAGMA JOURNAL_MODE = DELETE" : "PRAGMA JOURNAL_MODE = WAL");
  if (mode != (deleteMode ? "delete" : "wal"))
    throw velk::InvalidResultException({kStorageSource, __LINE__}, "Unexpected journal mode",
                                       velk::errors::kInvalidResult);
}

void KeyValueStorage::openInMemoryCopy(const std::string& basePath) {
  if (!queryJournalMode(basePath)) {
    db_.close();
    changeJournalMode(basePath, true);
    db_.open(basePath, open_flags::kReadOnly);
  }
  SqliteDatabase source = db_;
  db_.open(":memory:", open_flags::kMemory);
  sqlite3_backup* backup = sqlite3_backup_init(db_.handle(), "main", source.handle(), "main");
  if (!backup) db_.check(sqlite3_errcode(db_.handle()));
  int stepped = sqlite3_backup_step(backup, -1);
  int finished = sqlite3_backup_finish(backup);
  if (stepped != SQLITE_DONE && stepped != SQLITE_ROW) db_.check(stepped);
  db_.check(finished);
  path_ = basePath;
}

}  // namespace data_storage

// kv/: the SQLite key-value store, its factories and data sources, the
// transactional adapters and the opening of a command's database. It knows
// nothing of XML.
//
// The key-value store over one SQLite database, a file or an in-memory copy.
// Keys are unique: the store enforces it, the schema does not.
#pragma once

#include <array>
#include <mutex>
#include <string>

#include "kv/key_value_storage_interfaces.h"
#include "kv/sqlite_database.h"

namespace data_storage {

// The schema texts, as SQLite keeps them in the file.
extern const char* const kCreateTableSql;
extern const char* const kCreateIndexSql;

// True for "DELETE" (read-only mode), false for "WAL", in the spellings the
// engine may report; throws for any other mode.
bool isDeleteJournalMode(const std::string& mode);

// The store's prepared statements, in the order of the cache.
enum class Statement {
  kInsert,
  kUpdateByKey,
  kUpdateById,
  kFindByKey,
  kGetById,
  kRemoveByKey,
  kRemoveById,
  kKeyById,
  kValueById,
  kBegin,
  kCommit,
  kRollback,
  kCount
};

class KeyValueStorage : public velk::ObjectBase<IIndexedKeyValueStorage, ITransaction> {
 public:
  explicit KeyValueStorage(velk::Ref<velk::ITracer> tracer = nullptr);

  // The factories run exactly one of these on a new store; they throw.
  void openFile(const std::string& path);
  void openInMemoryCopy(const std::string& basePath);
  // True for DELETE journal mode (read-only mode), false for WAL.
  bool queryJournalMode(const std::string& path);
  void changeJournalMode(const std::string& path, bool deleteMode);

  velk::result_t Insert(ByteRange key, ByteRange value, int64_t& id) override;
  velk::result_t UpdateByKey(ByteRange key, ByteRange value) override;
  velk::result_t UpdateById(int64_t id, ByteRange value) override;
  velk::result_t FindByKey(ByteRange key, Bytes& value, int64_t& id) override;
  velk::result_t GetById(int64_t id, Bytes& key, Bytes& value) override;
  velk::result_t RemoveByKey(ByteRange key) override;
  velk::result_t RemoveById(int64_t id) override;
  velk::result_t CreateEnumerator(IIndexedKeyValueEnumerator** out) override;
  velk::result_t Compact() override;
  velk::result_t Clear() override;

  velk::result_t BeginTransaction() override;
  velk::result_t CommitTransaction() override;
  velk::result_t RollbackTransaction() override;

  // For the enumerators, which share the store's lock and connection.
  std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }
  const SqliteDatabase& database() const { return db_; }
  velk::ITracer* tracer() const { return tracer_.get(); }
  // Column 0 of `statement` (kKeyById or kValueById) for the record `id`;
  // the caller holds the lock.
  void readById(Statement statement, int64_t id, Bytes& out);

  const std::string& path() const { return path_; }

 private:
  template <class Body>
  velk::result_t locked(Body&& body);

  sqlite3_stmt* statement(Statement which);
  void bindKey(sqlite3_stmt* statement, uint32_t hash, ByteRange key);
  bool findId(uint32_t hash, ByteRange key, int64_t& id);
  velk::result_t changeOne(sqlite3_stmt* statement);
  void stepTransactionStatement(Statement which);
  void createSchema();

  velk::Ref<velk::ITracer> tracer_;
  SqliteDatabase db_;
  std::mutex mutex_;
  std::array<StatementHandle, static_cast<size_t>(Statement::kCount)> statements_;
  std::string path_;
};

}  // namespace data_storage

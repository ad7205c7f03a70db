#include "kv/key_value_storage.h"

#include <gtest/gtest.h>

#include <set>
#include <unordered_map>

#include "kv/key_hash.h"
#include "kv/key_value_storage_manager.h"
#include "kv_test_support.h"

namespace data_storage::test {
namespace {

using velk::Ref;
namespace errors = velk::errors;

constexpr uint32_t kError = velk::trace_level::kError;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracer_ = velk::make<RecordingTracer>();
    locator_ = velk::make<TestLocator>(tracer_);
    manager_ = velk::make<KeyValueStorageManager>(locator_.get());
    path_ = dir_.path("store.kvdb");
    store_ = open();
  }

  Ref<IIndexedKeyValueStorage> open() {
    Ref<IIndexedKeyValueStorage> store;
    EXPECT_EQ(manager_->CreateStorage(path_, store.put()), errors::kOk);
    return store;
  }

  int64_t insert(const std::string& key, const std::string& value) {
    int64_t id = 0;
    EXPECT_EQ(store_->Insert(key, value, id), errors::kOk) << key;
    return id;
  }

  std::string find(const std::string& key) {
    Bytes value;
    int64_t id = 0;
    if (store_->FindByKey(key, value, id) != errors::kOk) return "<missing>";
    return std::string(value.begin(), value.end());
  }

  TempDirectory dir_;
  Ref<RecordingTracer> tracer_;
  Ref<TestLocator> locator_;
  Ref<KeyValueStorageManager> manager_;
  std::string path_;
  Ref<IIndexedKeyValueStorage> store_;
};

TEST_F(StoreTest, SchemaIsExactlyOneTableAndOneIndex) {
  RawDb db(path_, SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.column("SELECT type || ':' || name FROM sqlite_master ORDER BY name"),
            (std::vector<std::string>{"table:storage", "index:storage_key"}));
  EXPECT_EQ(db.column("SELECT sql FROM sqlite_master WHERE name = 'storage'").at(0),
            "CREATE TABLE storage (\t\t\tid INTEGER PRIMARY KEY ASC,\t\t\tkeyhash INTEGER,"
            "\t\t\tkeylob BLOB,\t\t\tvaluelob BLOB)");
  EXPECT_EQ(db.column("SELECT sql FROM sqlite_master WHERE name = 'storage_key'").at(0),
            "CREATE INDEX storage_key ON storage (keyhash ASC)");
  // The statement as the store runs it, tabs included.
  EXPECT_STREQ(kCreateTableSql,
               "\t\tCREATE TABLE IF NOT EXISTS storage (\t\t\tid INTEGER PRIMARY KEY ASC,\t\t\tkeyhash INTEGER,"
               "\t\t\tkeylob BLOB,\t\t\tvaluelob BLOB)\t");
}

TEST_F(StoreTest, KeyHashIsStoredAsPositiveInteger) {
  EXPECT_EQ(keyHash(std::string_view()), 0u);
  EXPECT_EQ(keyHash(std::string_view("\0", 1)), 2654435769u);
  EXPECT_EQ(keyHash(std::string_view("abc")), 4216411921u);
  insert("abc", "v");
  RawDb db(path_, SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.column("SELECT keyhash || ':' || typeof(keyhash) FROM storage").at(0), "4216411921:integer");
}

TEST_F(StoreTest, KeysWithTheSameHashAreSeparateRecords) {
  std::unordered_map<uint32_t, std::string> seen;
  std::string first, second;
  for (int i = 0; second.empty(); ++i) {
    std::string key = "key" + std::to_string(i);
    auto [it, added] = seen.emplace(keyHash(key), key);
    if (!added) first = it->second, second = key;
  }
  ASSERT_EQ(keyHash(first), keyHash(second));
  int64_t firstId = insert(first, "one");
  int64_t secondId = insert(second, "two");
  EXPECT_NE(firstId, secondId);
  EXPECT_EQ(find(first), "one");
  EXPECT_EQ(find(second), "two");
  EXPECT_EQ(store_->UpdateByKey(second, "TWO"), errors::kOk);
  EXPECT_EQ(find(first), "one");
  EXPECT_EQ(store_->RemoveByKey(first), errors::kOk);
  EXPECT_EQ(find(first), "<missing>");
  EXPECT_EQ(find(second), "TWO");
}

TEST_F(StoreTest, InsertOfAnExistingKeyKeepsTheRecord) {
  int64_t id = insert("k", "old");
  int64_t existing = -1;
  EXPECT_EQ(store_->Insert("k", "new", existing), errors::kAlreadyExists);
  EXPECT_EQ(existing, id);
  EXPECT_EQ(find("k"), "old");
}

TEST_F(StoreTest, MissingRecordsGiveNotFound) {
  int64_t id = insert("present", "v");
  EXPECT_EQ(store_->UpdateByKey("absent", "x"), errors::kNotFound);
  EXPECT_EQ(store_->UpdateById(id + 1, "x"), errors::kNotFound);
  EXPECT_EQ(store_->RemoveByKey("absent"), errors::kNotFound);
  EXPECT_EQ(store_->RemoveById(id + 1), errors::kNotFound);
  Bytes value = bytes("untouched");
  int64_t foundId = 77;
  EXPECT_EQ(store_->FindByKey("absent", value, foundId), errors::kNotFound);
  EXPECT_EQ(value, bytes("untouched"));
  EXPECT_EQ(foundId, 77);
  Bytes key;
  EXPECT_EQ(store_->GetById(id + 1, key, value), errors::kNotFound);
  EXPECT_TRUE(tracer_->hasPart(kError, "Step(get): 0x8000004c (Not found)"));
  EXPECT_EQ(find("present"), "v");
}

TEST_F(StoreTest, UpdatesAndRemovals) {
  int64_t a = insert("a", "1");
  int64_t b = insert("b", "2");
  EXPECT_EQ(store_->UpdateByKey("a", "10"), errors::kOk);
  EXPECT_EQ(store_->UpdateById(b, "20"), errors::kOk);
  Bytes key, value;
  EXPECT_EQ(store_->GetById(a, key, value), errors::kOk);
  EXPECT_EQ(key, bytes("a"));
  EXPECT_EQ(value, bytes("10"));
  EXPECT_EQ(find("b"), "20");
  EXPECT_EQ(store_->RemoveById(a), errors::kOk);
  EXPECT_EQ(store_->RemoveByKey("b"), errors::kOk);
  EXPECT_EQ(find("a"), "<missing>");
  EXPECT_EQ(find("b"), "<missing>");
}

TEST_F(StoreTest, EnumeratorStates) {
  Ref<IIndexedKeyValueEnumerator> enumerator;
  ASSERT_EQ(store_->CreateEnumerator(enumerator.put()), errors::kOk);
  int64_t id = 0;
  Bytes bytesOut;
  EXPECT_EQ(enumerator->GetId(id), errors::kInvalidState);
  EXPECT_EQ(enumerator->GetKey(bytesOut), errors::kInvalidState);
  EXPECT_EQ(enumerator->GetValue(bytesOut), errors::kInvalidState);
  EXPECT_EQ(enumerator->MoveNext(), errors::kFalse);

  std::set<int64_t> inserted = {insert("x", "1"), insert("y", "2"), insert("z", "")};
  ASSERT_EQ(store_->CreateEnumerator(enumerator.put()), errors::kOk);
  auto walk = [&] {
    std::set<std::string> records;
    std::set<int64_t> ids;
    while (enumerator->MoveNext() == errors::kOk) {
      Bytes key, value;
      EXPECT_EQ(enumerator->GetId(id), errors::kOk);
      EXPECT_EQ(enumerator->GetKey(key), errors::kOk);
      EXPECT_EQ(enumerator->GetValue(value), errors::kOk);
      ids.insert(id);
      records.insert(std::string(key.begin(), key.end()) + "=" + std::string(value.begin(), value.end()));
    }
    EXPECT_EQ(ids, inserted);
    return records;
  };
  std::set<std::string> expected = {"x=1", "y=2", "z="};
  EXPECT_EQ(walk(), expected);
  EXPECT_EQ(enumerator->GetId(id), errors::kInvalidState);
  EXPECT_EQ(enumerator->MoveNext(), errors::kFalse);  // stays at the end
  EXPECT_EQ(enumerator->Reset(), errors::kOk);
  EXPECT_EQ(enumerator->GetId(id), errors::kInvalidState);
  EXPECT_EQ(walk(), expected);

  ASSERT_EQ(enumerator->Reset(), errors::kOk);
  ASSERT_EQ(enumerator->MoveNext(), errors::kOk);
  ASSERT_EQ(enumerator->GetId(id), errors::kOk);
  ASSERT_EQ(store_->RemoveById(id), errors::kOk);
  EXPECT_EQ(enumerator->GetKey(bytesOut), errors::kNotFound);
  EXPECT_EQ(enumerator->GetValue(bytesOut), errors::kNotFound);
}

TEST_F(StoreTest, EnumeratorKeepsItsStoreAlive) {
  insert("k", "v");
  Ref<IIndexedKeyValueEnumerator> enumerator;
  ASSERT_EQ(store_->CreateEnumerator(enumerator.put()), errors::kOk);
  store_.reset();
  ASSERT_EQ(enumerator->MoveNext(), errors::kOk);
  Bytes key;
  EXPECT_EQ(enumerator->GetKey(key), errors::kOk);
  EXPECT_EQ(key, bytes("k"));
}

TEST_F(StoreTest, ClearThenInsertStartsAtIdOne) {
  insert("a", "1");
  int64_t last = insert("b", "2");
  ASSERT_EQ(store_->RemoveById(last), errors::kOk);
  EXPECT_EQ(insert("c", "3"), last);  // the id of a removed last record is given again
  ASSERT_EQ(store_->Clear(), errors::kOk);
  EXPECT_EQ(find("a"), "<missing>");
  EXPECT_EQ(insert("d", "4"), 1);
  RawDb db(path_, SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.column("SELECT count(*) FROM sqlite_master").at(0), "2");
}

TEST_F(StoreTest, EmptyValuesAndKeys) {
  int64_t id = insert("empty", "");
  Bytes value = bytes("stale");
  int64_t found = 0;
  ASSERT_EQ(store_->FindByKey("empty", value, found), errors::kOk);
  EXPECT_TRUE(value.empty());
  EXPECT_EQ(found, id);
  ASSERT_EQ(store_->UpdateById(id, ByteRange()), errors::kOk);
  Bytes key;
  ASSERT_EQ(store_->GetById(id, key, value), errors::kOk);
  EXPECT_TRUE(value.empty());
  // An empty key is a zero-length blob, so it can be found again.
  int64_t emptyKeyId = insert("", "for the empty key");
  EXPECT_EQ(find(""), "for the empty key");
  RawDb db(path_, SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.column("SELECT typeof(keylob) || typeof(valuelob) FROM storage WHERE id = " +
                      std::to_string(emptyKeyId)).at(0),
            "blobblob");
}

TEST_F(StoreTest, DuplicateRowsFromElsewhereAreNotChangedByAFailedUpdate) {
  insert("dup", "first");
  {
    RawDb db(path_);
    ASSERT_EQ(db.exec("INSERT INTO storage (keyhash, keylob, valuelob) "
                      "SELECT keyhash, keylob, CAST('second' AS BLOB) FROM storage"),
              SQLITE_OK);
  }
  EXPECT_EQ(store_->UpdateByKey("dup", "changed"), errors::kUnexpected);
  EXPECT_EQ(store_->RemoveByKey("dup"), errors::kUnexpected);
  EXPECT_TRUE(tracer_->hasPart(kError, "changes == 1"));
  RawDb db(path_, SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.column("SELECT CAST(valuelob AS TEXT) FROM storage ORDER BY id"),
            (std::vector<std::string>{"first", "second"}));
}

TEST_F(StoreTest, TransactionsCommitAndRollBack) {
  Ref<ITransaction> transaction = velk::queryInterface<ITransaction>(store_.get());
  ASSERT_TRUE(transaction);
  ASSERT_EQ(transaction->BeginTransaction(), errors::kOk);
  insert("rolled back", "x");
  ASSERT_EQ(transaction->RollbackTransaction(), errors::kOk);
  EXPECT_EQ(find("rolled back"), "<missing>");

  ASSERT_EQ(transaction->BeginTransaction(), errors::kOk);
  EXPECT_EQ(transaction->BeginTransaction(), errors::kUnspecified);  // no nesting
  EXPECT_TRUE(tracer_->hasPart(kError, "kv_st\tInvalidResultException - cannot start a transaction"));
  insert("kept", "y");
  ASSERT_EQ(transaction->CommitTransaction(), errors::kOk);
  EXPECT_EQ(transaction->CommitTransaction(), errors::kUnspecified);
  transaction.reset();
  store_ = open();
  EXPECT_EQ(find("kept"), "y");
}

TEST_F(StoreTest, CallerTransactionIsNotCommittedByAFailure) {
  Ref<ITransaction> transaction = velk::queryInterface<ITransaction>(store_.get());
  ASSERT_EQ(transaction->BeginTransaction(), errors::kOk);
  insert("inside", "1");
  EXPECT_EQ(store_->RemoveByKey("absent"), errors::kNotFound);
  {
    RawDb other(path_, SQLITE_OPEN_READONLY);
    EXPECT_EQ(other.column("SELECT count(*) FROM storage").at(0), "0");
  }
  ASSERT_EQ(transaction->RollbackTransaction(), errors::kOk);
  EXPECT_EQ(find("inside"), "<missing>");
}

TEST_F(StoreTest, CompactKeepsRecords) {
  for (int i = 0; i < 50; ++i) insert("k" + std::to_string(i), std::string(500, 'v'));
  for (int i = 0; i < 40; ++i) ASSERT_EQ(store_->RemoveByKey("k" + std::to_string(i)), errors::kOk);
  EXPECT_EQ(store_->Compact(), errors::kOk);
  EXPECT_EQ(find("k45"), std::string(500, 'v'));
  EXPECT_EQ(find("k5"), "<missing>");
}

TEST_F(StoreTest, ReopeningKeepsRecordsAndWal) {
  insert("a", "1");
  store_.reset();
  EXPECT_EQ(journalMode(path_), "wal");
  store_ = open();
  EXPECT_EQ(find("a"), "1");
  EXPECT_EQ(journalMode(path_), "wal");
}

TEST_F(StoreTest, InterfacesByIdentifier) {
  void* raw = nullptr;
  EXPECT_EQ(store_->QueryInterface(0x12345678, &raw), errors::kNoInterface);
  EXPECT_EQ(raw, nullptr);
  EXPECT_TRUE(velk::queryInterface<IIndexedKeyValueStorage>(store_.get()));
  EXPECT_TRUE(velk::queryInterface<ITransaction>(store_.get()));
  Ref<velk::IObject> primary;
  ASSERT_EQ(store_->QueryInterface(0, primary.putVoid()), errors::kOk);
  EXPECT_EQ(static_cast<void*>(primary.get()), static_cast<void*>(store_.get()));
  Ref<IIndexedKeyValueEnumerator> enumerator;
  ASSERT_EQ(store_->CreateEnumerator(enumerator.put()), errors::kOk);
  EXPECT_TRUE(velk::queryInterface<IIndexedKeyValueEnumerator>(enumerator.get()));
  EXPECT_FALSE(velk::queryInterface<ITransaction>(enumerator.get()));
}

}  // namespace
}  // namespace data_storage::test

#include <gtest/gtest.h>

#include "adapter_test_support.h"
#include "console/helpers_exceptions.h"
#include "kv/open_command_database.h"
#include "kv/read_only_transaction_indexed_key_value_storage.h"
#include "kv/transaction_indexed_key_value_storage.h"
#include "kv_test_support.h"

namespace data_storage::test {
namespace {

using app_core::ReadOnlyTransactionIndexedKeyValueStorage;
using app_core::TransactionIndexedKeyValueStorage;
using velk::Ref;
namespace errors = velk::errors;

class TransactionAdapterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracer_ = velk::make<RecordingTracer>();
    locator_ = velk::make<TestLocator>(tracer_);
    factory_ = createByClass<IKeyValueStorageFactory>(locator_.get(), class_ids::kKeyValueStorageManager);
  }

  Ref<ScriptedStore> scripted(const std::string& path) {
    Ref<IIndexedKeyValueStorage> store;
    EXPECT_EQ(factory_->CreateStorage(path, store.put()), errors::kOk);
    return velk::make<ScriptedStore>(store);
  }

  std::vector<std::string> keysIn(const std::string& path) {
    RawDb db(path, SQLITE_OPEN_READONLY);
    return db.column("SELECT keylob FROM storage ORDER BY keylob");
  }

  TempDirectory dir_;
  Ref<RecordingTracer> tracer_;
  Ref<TestLocator> locator_;
  Ref<IKeyValueStorageFactory> factory_;
};

TEST_F(TransactionAdapterTest, AnswersOnlyTheStoreInterface) {
  auto adapter = velk::make<TransactionIndexedKeyValueStorage>(scripted(dir_.path("a.kvdb")));
  Ref<velk::IObject> any;
  EXPECT_EQ(adapter->QueryInterface(0, any.putVoid()), errors::kOk);
  EXPECT_TRUE(any);
  Ref<IIndexedKeyValueStorage> store;
  EXPECT_EQ(adapter->QueryInterface(IIndexedKeyValueStorage::IID, store.putVoid()), errors::kOk);
  EXPECT_TRUE(store);
  Ref<ITransaction> transaction;
  EXPECT_EQ(adapter->QueryInterface(ITransaction::IID, transaction.putVoid()), errors::kNoInterface);
  EXPECT_FALSE(transaction);
}

TEST_F(TransactionAdapterTest, PassesEveryCallToTheStore) {
  auto store = scripted(dir_.path("a.kvdb"));
  {
    auto adapter = velk::make<TransactionIndexedKeyValueStorage>(store);
    int64_t id = 0;
    EXPECT_EQ(adapter->Insert("k", "v", id), errors::kOk);
    EXPECT_EQ(adapter->Insert("k", "w", id), errors::kAlreadyExists);
    EXPECT_EQ(adapter->UpdateByKey("k", "v2"), errors::kOk);
    EXPECT_EQ(adapter->UpdateById(id, "v3"), errors::kOk);
    Bytes value, key;
    int64_t found = 0;
    EXPECT_EQ(adapter->FindByKey("k", value, found), errors::kOk);
    EXPECT_EQ(found, id);
    EXPECT_EQ(value, bytes("v3"));
    EXPECT_EQ(adapter->GetById(id, key, value), errors::kOk);
    EXPECT_EQ(key, bytes("k"));
    EXPECT_EQ(adapter->RemoveByKey("missing"), errors::kNotFound);
    EXPECT_EQ(adapter->RemoveById(id), errors::kOk);
    Ref<IIndexedKeyValueEnumerator> records;
    EXPECT_EQ(adapter->CreateEnumerator(records.put()), errors::kOk);
    EXPECT_EQ(records->MoveNext(), errors::kFalse);
    records.reset();
    EXPECT_EQ(adapter->Clear(), errors::kOk);
  }
  EXPECT_EQ(store->calls, (std::vector<std::string>{"BeginTransaction", "Insert", "Insert", "UpdateByKey", "UpdateById",
                                                    "FindByKey", "GetById", "RemoveByKey", "RemoveById",
                                                    "CreateEnumerator", "Clear", "CommitTransaction"}));
}

TEST_F(TransactionAdapterTest, CommitsWhenReleasedAndNotBefore) {
  std::string path = dir_.path("a.kvdb");
  auto adapter = velk::make<TransactionIndexedKeyValueStorage>(scripted(path));
  int64_t id = 0;
  ASSERT_EQ(adapter->Insert("written", "v", id), errors::kOk);
  EXPECT_TRUE(keysIn(path).empty());
  adapter.reset();
  EXPECT_EQ(keysIn(path), std::vector<std::string>{"written"});
}

TEST_F(TransactionAdapterTest, FailedBeginRaisesWithTheStoresCode) {
  auto store = scripted(dir_.path("a.kvdb"));
  store->failBegin = errors::kLocked;
  try {
    velk::make<TransactionIndexedKeyValueStorage>(store);
    FAIL() << "no exception";
  } catch (const app_core::helpers::Exception& e) {
    EXPECT_EQ(e.message(), "data_storage::ITransaction::BeginTransaction");
    EXPECT_EQ(e.code(), errors::kLocked);
    EXPECT_STREQ(e.position().file, "components/vorn_config_compiler/source/vorn_config_compiler");
  }
  // Nothing was begun, so nothing is committed.
  EXPECT_EQ(store->count("CommitTransaction"), 0);
}

TEST_F(TransactionAdapterTest, StoreWithoutTransactionsIsRefused) {
  EXPECT_THROW(velk::make<TransactionIndexedKeyValueStorage>(velk::make<StoreWithoutTransactions>()),
               velk::BadQueryInterfaceException);
}

TEST_F(TransactionAdapterTest, ReadOnlyAdapterSwitchesAfterTheCommitAndReports) {
  std::string path = dir_.path("a.kvro");
  auto store = scripted(path);
  auto reporter = velk::make<RecordingReporter>();
  auto adapter = velk::make<ReadOnlyTransactionIndexedKeyValueStorage>(store, reporter, factory_.get(), path);
  int64_t id = 0;
  ASSERT_EQ(adapter->Insert("k", "v", id), errors::kOk);
  store.reset();
  adapter.reset();
  EXPECT_EQ(journalMode(path), "delete");
  EXPECT_EQ(keysIn(path), std::vector<std::string>{"k"});
  EXPECT_EQ(reporter->lines(),
            std::vector<std::string>{"I -: successfully set readonly mode for database \"" + path + "\""});
}

TEST_F(TransactionAdapterTest, FailedSwitchIsReportedAsAnError) {
  std::string path = dir_.path("a.kvro");
  auto reporter = velk::make<RecordingReporter>();
  auto manager = velk::make<FailingManager>();
  velk::make<ReadOnlyTransactionIndexedKeyValueStorage>(scripted(path), reporter, manager.get(), path);
  EXPECT_EQ(reporter->lines(),
            std::vector<std::string>{"E -: failed to set readonly mode for database \"" + path + "\""});
  EXPECT_EQ(journalMode(path), "wal");
}

TEST_F(TransactionAdapterTest, ReadOnlyAdapterNeedsTheManager) {
  std::string path = dir_.path("a.kvro");
  auto store = scripted(path);
  auto notAManager = velk::make<StoreWithoutTransactions>();
  try {
    velk::make<ReadOnlyTransactionIndexedKeyValueStorage>(store, velk::make<RecordingReporter>(), notAManager.get(),
                                                          path);
    FAIL() << "no exception";
  } catch (const app_core::helpers::NamedObjectError& e) {
    EXPECT_EQ(e.message(), "data_storage::IKeyValueStorageManager interface is not supported");
    EXPECT_EQ(e.objectName(), path);
    EXPECT_EQ(e.code(), errors::kNoInterface);
  }
  // The transaction had begun first, and the half-made adapter still ends it.
  EXPECT_EQ(store->calls, (std::vector<std::string>{"BeginTransaction", "CommitTransaction"}));
}

TEST(ReadOnlyExtension, IsExactlyKvroAfterTheLastDotOfTheName) {
  EXPECT_TRUE(app_core::hasReadOnlyExtension("/a/b.kvro"));
  EXPECT_TRUE(app_core::hasReadOnlyExtension("b.kvdb.kvro"));
  EXPECT_FALSE(app_core::hasReadOnlyExtension("/a/b.KVRO"));
  EXPECT_FALSE(app_core::hasReadOnlyExtension("/a/b.kvdb"));
  EXPECT_FALSE(app_core::hasReadOnlyExtension("/a.kvro/b"));
  EXPECT_FALSE(app_core::hasReadOnlyExtension("c:\\a.kvro\\b"));
  EXPECT_FALSE(app_core::hasReadOnlyExtension("/a/b.kvro2"));
  EXPECT_FALSE(app_core::hasReadOnlyExtension("kvro"));
}

TEST_F(TransactionAdapterTest, OpeningChoosesTheAdapterByUseAndExtension) {
  auto reporter = velk::make<RecordingReporter>();
  std::string written = dir_.path("new/dir/w.kvro");
  app_core::openCommandDatabase(factory_.get(), reporter.get(), written, app_core::DatabaseUse::kWrite);
  EXPECT_EQ(journalMode(written), "delete");
  std::string read = dir_.path("r.kvro");
  app_core::openCommandDatabase(factory_.get(), reporter.get(), read, app_core::DatabaseUse::kRead);
  EXPECT_EQ(journalMode(read), "wal");
  EXPECT_EQ(reporter->lines().size(), 1u);
}

TEST_F(TransactionAdapterTest, ReadingCreatesNoDirectory) {
  std::string path = dir_.path("missing/r.kvdb");
  try {
    app_core::openCommandDatabase(factory_.get(), nullptr, path, app_core::DatabaseUse::kRead);
    FAIL() << "no exception";
  } catch (const app_core::helpers::NamedObjectError& e) {
    EXPECT_EQ(e.message(), "Can't create key-value storage");
    EXPECT_EQ(e.objectName(), path);
    EXPECT_TRUE(velk::failed(e.code()));
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.path("missing")));
}

}  // namespace
}  // namespace data_storage::test

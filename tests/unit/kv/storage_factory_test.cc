#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "kv/key_value_factory_table.h"
#include "kv/key_value_storage.h"
#include "kv/key_value_storage_factory_with_settings.h"
#include "kv_test_support.h"
#include "velk/basic_service_locator.h"

namespace data_storage::test {
namespace {

using velk::Ref;
namespace errors = velk::errors;
namespace fs = std::filesystem;

constexpr uint32_t kError = velk::trace_level::kError;
constexpr uint32_t kImportant = velk::trace_level::kImportant;
constexpr uint32_t kInfo = velk::trace_level::kInfo;
constexpr uint32_t kDebug = velk::trace_level::kDebug;

class FactoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracer_ = velk::make<RecordingTracer>();
    locator_ = velk::make<TestLocator>(tracer_);
    factory_ = createByClass<IKeyValueStorageFactory>(locator_.get(), class_ids::kKeyValueStorageManager);
    manager_ = velk::queryInterface<IKeyValueStorageManager>(factory_.get());
  }

  Ref<IIndexedKeyValueStorage> create(const std::string& path) {
    Ref<IIndexedKeyValueStorage> store;
    EXPECT_EQ(factory_->CreateStorage(path, store.put()), errors::kOk);
    return store;
  }

  void fill(const std::string& path, int count) {
    auto store = create(path);
    for (int i = 0; i < count; ++i) {
      int64_t id;
      ASSERT_EQ(store->Insert("key" + std::to_string(i), "value", id), errors::kOk);
    }
  }

  static std::string q(const std::string& text) { return "\"" + text + "\""; }

  TempDirectory dir_;
  Ref<RecordingTracer> tracer_;
  Ref<TestLocator> locator_;
  Ref<IKeyValueStorageFactory> factory_;
  Ref<IKeyValueStorageManager> manager_;
};

TEST_F(FactoryTest, CreateStorageMakesAWalFileAndKeepsRecords) {
  std::string path = dir_.path("new.kvdb");
  fill(path, 3);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tCreating storage " + q(path)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCreate succeeded for " + q(path)));
  EXPECT_EQ(journalMode(path), "wal");
  auto store = create(path);
  Bytes value;
  int64_t id;
  EXPECT_EQ(store->FindByKey("key2", value, id), errors::kOk);
}

TEST_F(FactoryTest, CreateStorageTakesThePathAsGiven) {
  std::string path = dir_.path("missing/dir/store");
  Ref<IIndexedKeyValueStorage> store;
  EXPECT_EQ(factory_->CreateStorage(path, store.put()), errors::kUnspecified);
  EXPECT_FALSE(store);
  EXPECT_FALSE(fs::exists(dir_.path("missing")));
  EXPECT_TRUE(tracer_->hasPart(kError, "kv_st\tFailed to open DB: " + path + "; SQLite returned 14"));
  std::string bare = dir_.path("bare");
  create(bare);
  EXPECT_TRUE(fs::exists(bare));
}

TEST_F(FactoryTest, ReadOnlyModeIsTheDeleteJournalMode) {
  std::string path = dir_.path("mode.kvdb");
  fill(path, 2);
  bool readOnly = true;
  ASSERT_EQ(manager_->IsReadOnly(path, readOnly), errors::kOk);
  EXPECT_FALSE(readOnly);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tGetting journal mode for storage " + q(path)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCurrent mode for " + q(path) + " is not read-only"));

  ASSERT_EQ(manager_->ChangeJournalMode(path, true), errors::kOk);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tChanging journal mode for storage " + q(path)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tJournal mode has been changed for " + q(path)));
  EXPECT_EQ(journalMode(path), "delete");
  ASSERT_EQ(manager_->IsReadOnly(path, readOnly), errors::kOk);
  EXPECT_TRUE(readOnly);
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCurrent mode for " + q(path) + " is read-only"));

  create(path);  // opening through the store switches back to WAL
  EXPECT_EQ(journalMode(path), "wal");
  ASSERT_EQ(manager_->ChangeJournalMode(path, true), errors::kOk);
  ASSERT_EQ(manager_->ChangeJournalMode(path, false), errors::kOk);
  EXPECT_EQ(journalMode(path), "wal");

  std::string missing = dir_.path("missing.kvdb");
  EXPECT_EQ(manager_->ChangeJournalMode(missing, true), errors::kUnspecified);
  EXPECT_EQ(manager_->IsReadOnly(missing, readOnly), errors::kUnspecified);
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(FactoryTest, OtherJournalModesAreAnInvalidResult) {
  EXPECT_TRUE(isDeleteJournalMode("DELETE"));
  EXPECT_TRUE(isDeleteJournalMode("delete"));
  EXPECT_FALSE(isDeleteJournalMode("WAL"));
  EXPECT_FALSE(isDeleteJournalMode("wal"));
  for (const char* mode : {"TRUNCATE", "truncate", "Delete", "memory", "persist", "off", ""}) {
    try {
      isDeleteJournalMode(mode);
      ADD_FAILURE() << mode;
    } catch (const velk::InvalidResultException& e) {
      EXPECT_EQ(e.code(), errors::kInvalidResult);
      EXPECT_EQ(e.message(), "Unexpected journal mode");
    }
  }
  // Only WAL is kept in the file; a fresh connection reports the other
  // modes as "delete", but an in-memory database reports "memory".
  bool readOnly = false;
  EXPECT_EQ(manager_->IsReadOnly(":memory:", readOnly), errors::kInvalidResult);
  EXPECT_TRUE(tracer_->hasPart(kError, "kv_st\tInvalidResultException - Unexpected journal mode: 0x80000071"));
  Ref<IIndexedKeyValueStorage> copy;
  EXPECT_EQ(factory_->CreateInMemory(":memory:", copy.put()), errors::kInvalidResult);
  EXPECT_FALSE(copy);
}

TEST_F(FactoryTest, InMemoryCopyLeavesItsBaseReadOnlyAndUntouched) {
  std::string path = dir_.path("base.kvdb");
  fill(path, 5);
  Ref<IIndexedKeyValueStorage> copy;
  ASSERT_EQ(factory_->CreateInMemory(path, copy.put()), errors::kOk);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tCreating storage in memory based on " + q(path)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCreate in memory succeeded for base " + q(path)));
  EXPECT_EQ(journalMode(path), "delete");
  std::string before = readFile(path);

  Bytes value;
  int64_t id;
  EXPECT_EQ(copy->FindByKey("key4", value, id), errors::kOk);
  ASSERT_EQ(copy->Insert("only in memory", "x", id), errors::kOk);
  ASSERT_EQ(copy->RemoveByKey("key0"), errors::kOk);
  copy.reset();

  EXPECT_EQ(readFile(path), before);
  EXPECT_FALSE(fs::exists(path + "-wal"));
  RawDb db(path, SQLITE_OPEN_READONLY);
  EXPECT_EQ(db.column("SELECT count(*) FROM storage").at(0), "5");

  // A base already in read-only mode is copied as it is.
  ASSERT_EQ(factory_->CreateInMemory(path, copy.put()), errors::kOk);
  EXPECT_EQ(copy->FindByKey("key0", value, id), errors::kOk);
  EXPECT_EQ(readFile(path), before);
}

TEST_F(FactoryTest, DeleteStorage) {
  std::string missing = dir_.path("missing.kvdb");
  writeFile(missing + "-wal", "left alone");
  EXPECT_EQ(manager_->DeleteStorage(missing), errors::kNotFound);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tDeleting storage " + q(missing)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tDelete failed for " + q(missing) + ", not found"));
  EXPECT_TRUE(fs::exists(missing + "-wal"));
  EXPECT_EQ(manager_->DeleteStorage(dir_.path("no/such/dir.kvdb")), errors::kNotFound);

  std::string path = dir_.path("gone.kvdb");
  fill(path, 1);
  writeFile(path + "-wal", "");
  writeFile(path + "-shm", "");
  EXPECT_EQ(manager_->DeleteStorage(path), errors::kOk);
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tDelete succeeded for " + q(path)));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(fs::exists(path + "-wal"));
  EXPECT_FALSE(fs::exists(path + "-shm"));

  fs::create_directory(dir_.path("a directory"));
  EXPECT_EQ(manager_->DeleteStorage(dir_.path("a directory")), errors::kPlatformUnspecified);
  EXPECT_TRUE(tracer_->hasPart(kError, "kv_st\tCheckResultFailedException - "));
}

TEST_F(FactoryTest, AFileThatIsNoDatabaseIsRefusedAndLeftAlone) {
  std::string path = dir_.path("text.kvdb");
  std::string content;
  for (int i = 0; i < 200; ++i) content += "This is a plain text file and no database at all.\n";
  writeFile(path, content);
  auto unchanged = [&] {
    EXPECT_EQ(readFile(path), content);
    for (const auto& entry : fs::directory_iterator(dir_.root()))
      EXPECT_EQ(entry.path().filename(), "text.kvdb") << "left behind";
  };
  Ref<IIndexedKeyValueStorage> store;
  EXPECT_EQ(factory_->CreateStorage(path, store.put()), errors::kBasesCorrupted);
  EXPECT_FALSE(store);
  unchanged();
  EXPECT_EQ(factory_->CreateInMemory(path, store.put()), errors::kBasesCorrupted);
  unchanged();
  bool readOnly = false;
  EXPECT_EQ(manager_->IsReadOnly(path, readOnly), errors::kBasesCorrupted);
  EXPECT_EQ(manager_->ChangeJournalMode(path, false), errors::kBasesCorrupted);
  EXPECT_EQ(manager_->ChangeJournalMode(path, true), errors::kBasesCorrupted);
  unchanged();
  EXPECT_TRUE(tracer_->hasPart(kError, "SQLite error: "));
  EXPECT_TRUE(tracer_->hasPart(kError, "file is not a database: 0x80000069 (Bases corrupted)"));
}

TEST_F(FactoryTest, ClassesAndTheirInterfaces) {
  Ref<velk::IObjectFactory> unknown;
  EXPECT_EQ(keyValueFactoryTable(locator_.get(), 0x6332D8FD, unknown.put()), errors::kNotImplemented);
  EXPECT_FALSE(unknown);

  EXPECT_TRUE(manager_);
  void* raw = nullptr;
  EXPECT_EQ(factory_->QueryInterface(INamedKeyValueStorageFactory::IID, &raw), errors::kNoInterface);
  EXPECT_EQ(raw, nullptr);
  for (velk::clsid_t clsid :
       {class_ids::kKeyValueStorageFactoryWithSettings, class_ids::kSecureKeyValueStorageFactoryWithSettings}) {
    auto named = createByClass<INamedKeyValueStorageFactory>(locator_.get(), clsid);
    ASSERT_TRUE(named);
    EXPECT_TRUE(velk::queryInterface<IKeyValueFactoryConstruction>(named.get()));
    EXPECT_TRUE(velk::queryInterface<IKeyValueFactorySettings>(named.get()));
    EXPECT_FALSE(velk::queryInterface<IKeyValueStorageFactory>(named.get()));
    Ref<velk::IObject> primary;
    ASSERT_EQ(named->QueryInterface(0, primary.putVoid()), errors::kOk);
    EXPECT_EQ(static_cast<void*>(primary.get()), static_cast<void*>(named.get()));
  }
  EXPECT_TRUE(createByClass<IKeyValueDataSourceFactory>(locator_.get(), class_ids::kKeyValueDataSourceFactory));
}

TEST_F(FactoryTest, TheRunsLocatorServesTheTracer) {
  auto locator = app_core::test::makeBasicServiceLocator();
  locator->setTracer(tracer_);
  auto factory = createByClass<IKeyValueStorageFactory>(locator.get(), class_ids::kKeyValueStorageManager);
  std::string path = dir_.path("run.kvdb");
  Ref<IIndexedKeyValueStorage> store;
  ASSERT_EQ(factory->CreateStorage(path, store.put()), errors::kOk);
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCreate succeeded for " + q(path)));
  // That locator creates nothing, so a data source finds no factory there.
  auto sources = createByClass<IKeyValueDataSourceFactory>(locator.get(), class_ids::kKeyValueDataSourceFactory);
  Ref<IKeyValueDataSource> source;
  ASSERT_EQ(sources->CreateDataSource(path, 0, source.put()), errors::kOk);
  EXPECT_EQ(source->CreateStorage(store.put()), errors::kNoInterface);
}

class NamedFactoryTest : public FactoryTest {
 protected:
  Ref<INamedKeyValueStorageFactory> named(velk::clsid_t clsid, const std::string& directory) {
    auto factory = createByClass<INamedKeyValueStorageFactory>(locator_.get(), clsid);
    EXPECT_EQ(velk::queryInterface<IKeyValueFactoryConstruction>(factory.get())->Construct(directory), errors::kOk);
    return factory;
  }
  Ref<IIndexedKeyValueStorage> createByName(INamedKeyValueStorageFactory* factory, const std::string& name) {
    Ref<IIndexedKeyValueStorage> store;
    EXPECT_EQ(factory->CreateStorageByName(name, store.put()), errors::kOk);
    return store;
  }
  static unsigned mode(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
  }
};

TEST_F(NamedFactoryTest, NamesBecomeFilesInTheDirectory) {
  std::string directory = dir_.path("d/e");
  auto factory = named(class_ids::kKeyValueStorageFactoryWithSettings, directory);
  EXPECT_TRUE(tracer_->has(kDebug, "kv_st\tdata_storage::KeyValueStorageFactoryWithSettings::Construct"));
  EXPECT_TRUE(createByName(factory.get(), "settings"));
  std::string path = directory + "/settings.kvdb";
  EXPECT_TRUE(fs::exists(path));
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tCreating storage \"settings\""));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCreate succeeded for " + q(path)));

  auto settings = velk::queryInterface<IKeyValueFactorySettings>(factory.get());
  ASSERT_EQ(settings->SetSettings(directory + "/"), errors::kOk);
  EXPECT_TRUE(tracer_->has(kDebug, "kv_st\tdata_storage::KeyValueStorageFactoryWithSettings::SetSettings"));
  std::string current;
  ASSERT_EQ(settings->GetSettings(current), errors::kOk);
  EXPECT_EQ(current, directory + "/");
  auto concrete = static_cast<KeyValueStorageFactoryWithSettings*>(factory.get());
  EXPECT_EQ(concrete->storePath("settings", false), path);

  EXPECT_EQ(factory->DeleteStorageByName("settings"), errors::kOk);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tDeleting storage \"settings\""));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tDelete succeeded for " + q(path)));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(factory->DeleteStorageByName("settings"), errors::kNotFound);
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tDelete failed for " + q(path) + ", not found"));

  ASSERT_EQ(settings->SetSettings(dir_.path("never made")), errors::kOk);
  EXPECT_EQ(factory->DeleteStorageByName("settings"), errors::kNotFound);
  EXPECT_FALSE(fs::exists(dir_.path("never made")));
}

TEST_F(NamedFactoryTest, WithoutADirectoryTheWorkingDirectoryHoldsTheStore) {
  auto factory = named(class_ids::kKeyValueStorageFactoryWithSettings, "");
  auto concrete = static_cast<KeyValueStorageFactoryWithSettings*>(factory.get());
  EXPECT_EQ(concrete->storePath("settings", true), "settings.kvdb");
  fs::path previous = fs::current_path();
  fs::current_path(dir_.root());
  auto store = createByName(factory.get(), "settings");
  fs::current_path(previous);
  EXPECT_TRUE(store);
  EXPECT_TRUE(fs::exists(dir_.path("settings.kvdb")));
}

TEST_F(NamedFactoryTest, SecureFactoryKeepsTheDirectoryToItsUser) {
  std::string fresh = dir_.path("secure/inner");
  auto factory = named(class_ids::kSecureKeyValueStorageFactoryWithSettings, fresh);
  EXPECT_TRUE(createByName(factory.get(), "s"));
  EXPECT_EQ(mode(fresh), 0700u);
  EXPECT_TRUE(fs::exists(fresh + "/s.kvdb"));

  std::string existing = dir_.path("open");
  fs::create_directory(existing);
  ::chmod(existing.c_str(), 0755);
  ASSERT_EQ(velk::queryInterface<IKeyValueFactorySettings>(factory.get())->SetSettings(existing), errors::kOk);
  EXPECT_TRUE(createByName(factory.get(), "s"));
  EXPECT_EQ(mode(existing), 0700u);

  // The plain factory leaves the rights alone.
  std::string plain = dir_.path("plain");
  fs::create_directory(plain);
  ::chmod(plain.c_str(), 0755);
  EXPECT_TRUE(createByName(named(class_ids::kKeyValueStorageFactoryWithSettings, plain).get(), "s"));
  EXPECT_EQ(mode(plain), 0755u);
}

TEST_F(NamedFactoryTest, SecureFactoryNeedsADirectory) {
  auto factory = named(class_ids::kSecureKeyValueStorageFactoryWithSettings, "");
  Ref<IIndexedKeyValueStorage> store;
  EXPECT_EQ(factory->CreateStorageByName("s", store.put()), errors::kFileNotFound);
  EXPECT_FALSE(store);
  EXPECT_TRUE(tracer_->hasPart(kError, "kv_st\tSystemErrorWithLastError - chmod: 0x80010102 (File not found) "
                                       "(sys error: 2). At key_value_storage/source/key_value_storage/"
                                       "key_value_storage_factory("));
}

class DataSourceTest : public FactoryTest {
 protected:
  Ref<IIndexedKeyValueStorage> fromSource(const std::string& name, uint32_t flags, velk::result_t expected) {
    auto sources = createByClass<IKeyValueDataSourceFactory>(locator_.get(), class_ids::kKeyValueDataSourceFactory);
    Ref<IKeyValueDataSource> source;
    EXPECT_EQ(sources->CreateDataSource(name, flags, source.put()), errors::kOk);
    Ref<IIndexedKeyValueStorage> store;
    EXPECT_EQ(source->CreateStorage(store.put()), expected);
    return store;
  }
};

TEST_F(DataSourceTest, SourcesOpenFilesAndCopies) {
  locator_->setFactory(factory_);
  std::string path = dir_.path("source.kvdb");
  auto store = fromSource(path, 0, errors::kOk);
  ASSERT_TRUE(store);
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tCreating data source " + q(path)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCreate data source succeeded for " + q(path)));
  EXPECT_TRUE(tracer_->has(kImportant, "kv_st\tCreating storage for data source " + q(path)));
  EXPECT_TRUE(tracer_->has(kInfo, "kv_st\tCreate storage succeeded for " + q(path)));
  int64_t id;
  ASSERT_EQ(store->Insert("k", "v", id), errors::kOk);
  store.reset();
  EXPECT_EQ(journalMode(path), "wal");

  auto copy = fromSource(path, data_source_flags::kInMemory, errors::kOk);
  ASSERT_TRUE(copy);
  Bytes value;
  EXPECT_EQ(copy->FindByKey("k", value, id), errors::kOk);
  EXPECT_EQ(journalMode(path), "delete");
}

TEST_F(DataSourceTest, MissingFactoriesAreErrors) {
  EXPECT_FALSE(fromSource(dir_.path("none.kvdb"), 0, errors::kNoInterface));
  EXPECT_TRUE(tracer_->hasPart(kError, "kv_st\tCheckResultFailedException - 0x80000001 (Interface not supported). "
                                       "At key_value_storage/source/key_value_storage/key_value_data_source("));
  locator_->setFactory(factory_);
  EXPECT_FALSE(fromSource(dir_.path("secure.kvdb"), data_source_flags::kSecure, errors::kNoInterface));
  EXPECT_FALSE(fs::exists(dir_.path("secure.kvdb")));
  EXPECT_FALSE(fromSource(dir_.path("missing.kvdb"), data_source_flags::kInMemory, errors::kUnspecified));
  EXPECT_FALSE(fs::exists(dir_.path("missing.kvdb")));
}

}  // namespace
}  // namespace data_storage::test

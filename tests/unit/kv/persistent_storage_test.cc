#include <gtest/gtest.h>

#include "adapter_test_support.h"
#include "kv_test_support.h"
#include "records/content_checksum.h"
#include "records/open_persistent_storage.h"
#include "records/persistent_storage_cache.h"

namespace data_storage::test {
namespace {

using app_core::OpenPersistentStorage;
using app_core::PersistentStorageNode;
using velk::Ref;
namespace errors = velk::errors;

constexpr uint32_t kImportant = velk::trace_level::kImportant;
constexpr uint32_t kError = velk::trace_level::kError;

class PersistentStorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracer_ = velk::make<RecordingTracer>();
    locator_ = velk::make<TestLocator>(tracer_);
    auto factory = createByClass<IKeyValueStorageFactory>(locator_.get(), class_ids::kKeyValueStorageManager);
    Ref<IIndexedKeyValueStorage> inner;
    ASSERT_EQ(factory->CreateStorage(dir_.path("p.kvdb"), inner.put()), errors::kOk);
    store_ = velk::make<ScriptedStore>(inner);
    xml_ = velk::make<velk::XmlStorageFactory>();
  }

  Ref<velk::IStorage> open(const std::string& key, Ref<PersistentStorageNode>* node = nullptr) {
    Ref<velk::IStorage> tree;
    EXPECT_EQ(OpenPersistentStorage(tracer_.get(), store_.get(), key, xml_.get(), tree.put(), node), errors::kOk);
    return tree;
  }

  std::string stored(const std::string& key) {
    Bytes value;
    int64_t id = 0;
    EXPECT_EQ(store_->FindByKey(key, value, id), errors::kOk);
    return std::string(value.begin(), value.end());
  }

  TempDirectory dir_;
  Ref<RecordingTracer> tracer_;
  Ref<TestLocator> locator_;
  Ref<ScriptedStore> store_;
  Ref<velk::IXmlStorageFactory> xml_;
};

TEST(ContentChecksum, StartsFromZeroWithoutFinalInversion) {
  EXPECT_EQ(app_core::contentChecksum("123456789", 9), 0x2DFD2D88u);
  EXPECT_EQ(app_core::contentChecksum("<root></root>", 13), 0x3BADA451u);
  EXPECT_EQ(app_core::contentChecksum("", 0), 0u);
}

TEST_F(PersistentStorageTest, NewKeyIsStoredAtOnce) {
  auto tree = open("fresh");
  EXPECT_EQ(stored("fresh"), "<root></root>");
  tree.reset();
  // Never changed, so never written back.
  EXPECT_EQ(stored("fresh"), "<root></root>");
  EXPECT_EQ(store_->count("UpdateById"), 0);
}

TEST_F(PersistentStorageTest, ExistingKeyIsParsedOnceAndItsCopyDropped) {
  int64_t id = 0;
  ASSERT_EQ(store_->Insert("old", "<root a=\"1\"><child /></root>", id), errors::kOk);
  Ref<PersistentStorageNode> node;
  auto tree = open("old", &node);
  EXPECT_EQ(node->id(), id);
  uint64_t size = 1;
  EXPECT_EQ(node->GetSize(&size), errors::kOk);
  EXPECT_EQ(size, 0u);
  uint32_t count = 0;
  EXPECT_EQ(tree->GetNodesCount(&count), errors::kOk);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(store_->count("Insert"), 1);
  EXPECT_EQ(store_->count("FindByKey"), 1);
}

TEST_F(PersistentStorageTest, ChangedTreeIsWrittenBackAtRelease) {
  auto tree = open("k");
  Ref<velk::IStorage> child;
  ASSERT_EQ(tree->CreateNode("child", child.put()), errors::kOk);
  ASSERT_EQ(child->WriteValue("v", velk::ValueDescriptor::ofUInt32(7), 0), errors::kOk);
  child.reset();
  tree.reset();
  EXPECT_EQ(stored("k"), "<root>\r\n    <child v=\"7\" />\r\n</root>\r\n");
  EXPECT_TRUE(tracer_->has(kImportant, "[perf] Going to flush key-value storage node 'k'"));
}

TEST_F(PersistentStorageTest, UnchangedSecondFlushWritesNothing) {
  auto tree = open("k");
  ASSERT_EQ(tree->WriteValue("a", velk::ValueDescriptor::ofText("1"), 0), errors::kOk);
  ASSERT_EQ(tree->Flush(), errors::kOk);
  EXPECT_EQ(store_->count("UpdateById"), 1);
  EXPECT_FALSE(tracer_->hasPart(kImportant, "has not changed"));
  ASSERT_EQ(tree->Flush(), errors::kOk);
  EXPECT_EQ(store_->count("UpdateById"), 1);
  EXPECT_TRUE(tracer_->has(kImportant, "[perf] Key-value storage node 'k' has not changed, don't flush it"));
  ASSERT_EQ(tree->WriteValue("a", velk::ValueDescriptor::ofText("2"), 0), errors::kOk);
  ASSERT_EQ(tree->Flush(), errors::kOk);
  EXPECT_EQ(store_->count("UpdateById"), 2);
  EXPECT_EQ(stored("k"), "<root a=\"2\" />\r\n");
}

TEST_F(PersistentStorageTest, FirstFlushOfAnUntouchedTreeWrites) {
  auto tree = open("k");
  ASSERT_EQ(tree->Flush(), errors::kOk);
  EXPECT_EQ(stored("k"), "<root />\r\n");
}

TEST_F(PersistentStorageTest, FailedFlushKeepsTheOldFingerprint) {
  Ref<PersistentStorageNode> node;
  auto tree = open("k", &node);
  ASSERT_EQ(tree->WriteValue("a", velk::ValueDescriptor::ofText("1"), 0), errors::kOk);
  store_->failUpdate = errors::kNotFound;
  EXPECT_EQ(tree->Flush(), errors::kMediaError);
  EXPECT_EQ(node->lastWriteResult(), errors::kMediaError);
  EXPECT_TRUE(tracer_->has(kError, "Key-value storage node 'k' flush failed, Not found (0x8000004c)"));
  store_->failUpdate = errors::kOk;
  EXPECT_EQ(tree->Flush(), errors::kOk);
  EXPECT_EQ(node->lastWriteResult(), errors::kOk);
  EXPECT_EQ(stored("k"), "<root a=\"1\" />\r\n");
}

TEST_F(PersistentStorageTest, FailedFindOrInsertIsAMediaError) {
  Ref<velk::IStorage> tree;
  store_->failFind = errors::kLocked;
  EXPECT_EQ(OpenPersistentStorage(tracer_.get(), store_.get(), "k", xml_.get(), tree.put()), errors::kMediaError);
  store_->failFind = errors::kOk;
  store_->failInsert = errors::kOutOfSpace;
  EXPECT_EQ(OpenPersistentStorage(tracer_.get(), store_.get(), "k", xml_.get(), tree.put()), errors::kMediaError);
  EXPECT_FALSE(tree);
}

TEST_F(PersistentStorageTest, RecordThatIsNotXmlFailsToOpen) {
  int64_t id = 0;
  ASSERT_EQ(store_->Insert("bad", "<root>", id), errors::kOk);
  Ref<velk::IStorage> tree;
  EXPECT_EQ(OpenPersistentStorage(tracer_.get(), store_.get(), "bad", xml_.get(), tree.put()), errors::kUnspecified);
  EXPECT_FALSE(tree);
}

TEST_F(PersistentStorageTest, NodeAnswersItsInputOutputOperations) {
  Ref<PersistentStorageNode> node;
  ASSERT_EQ(PersistentStorageNode::open(tracer_, store_, "io", node), errors::kOk);
  Ref<velk::IIO> io;
  EXPECT_EQ(node->QueryInterface(velk::IIO::IID, io.putVoid()), errors::kOk);
  EXPECT_EQ(node->QueryInterface(velk::IStorage::IID, io.putVoid()), errors::kNoInterface);
  char buffer[32] = {};
  uint32_t count = 0;
  // Every read starts from the beginning.
  EXPECT_EQ(node->Read(buffer, 5, &count), errors::kOk);
  EXPECT_EQ(std::string(buffer, count), "<root");
  EXPECT_EQ(node->Read(buffer, sizeof buffer, &count), errors::kOk);
  EXPECT_EQ(std::string(buffer, count), "<root></root>");
  uint64_t position = 0;
  EXPECT_EQ(node->GetPosition(&position), errors::kNotImplemented);
  EXPECT_EQ(node->Flush(), errors::kOk);
  EXPECT_EQ(node->SetSize(0), errors::kOk);
  EXPECT_EQ(node->Seek(0), errors::kOk);
  EXPECT_EQ(node->Write("<x/>", 4, &count), errors::kOk);
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(stored("io"), "<x/>");
}

TEST_F(PersistentStorageTest, CacheHandsOutTheSameTreeWithoutReadingAgain) {
  app_core::PersistentStorageCache cache(tracer_, store_, xml_);
  for (int i = 0; i < 3; ++i) {
    Ref<velk::IStorage> tree;
    ASSERT_EQ(cache.open("registry", tree.put()), errors::kOk);
    Ref<velk::IStorage> item;
    ASSERT_EQ(tree->CreateNode("item", item.put()), errors::kOk);
  }
  EXPECT_EQ(store_->count("FindByKey"), 1);
  EXPECT_EQ(store_->count("UpdateById"), 0);
  EXPECT_EQ(cache.close(), errors::kOk);
  EXPECT_EQ(store_->count("UpdateById"), 1);
  EXPECT_EQ(stored("registry"), "<root>\r\n    <item />\r\n    <item />\r\n    <item />\r\n</root>\r\n");
}

TEST_F(PersistentStorageTest, CacheLeavesUntouchedKeysAsInsertedAndReportsFailedWrites) {
  app_core::PersistentStorageCache cache(tracer_, store_, xml_);
  Ref<velk::IStorage> untouched, changed;
  ASSERT_EQ(cache.open("untouched", untouched.put()), errors::kOk);
  ASSERT_EQ(cache.open("changed", changed.put()), errors::kOk);
  ASSERT_EQ(changed->WriteValue("a", velk::ValueDescriptor::ofText("1"), 0), errors::kOk);
  untouched.reset();
  changed.reset();
  store_->failUpdate = errors::kLocked;
  EXPECT_EQ(cache.close(), errors::kMediaError);
  EXPECT_EQ(stored("untouched"), "<root></root>");
  EXPECT_EQ(stored("changed"), "<root></root>");
}

}  // namespace
}  // namespace data_storage::test

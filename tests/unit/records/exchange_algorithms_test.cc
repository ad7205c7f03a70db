#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "records/exchange_export.h"
#include "records/exchange_import.h"
#include "records/exchange_tree_copy.h"
#include "xmlfile/file_io.h"
#include "xmlfile/xml_file_storage_adapter.h"

namespace app_core {
namespace {

using data_storage::ByteRange;
using data_storage::Bytes;
using velk::Ref;
namespace errors = velk::errors;

// A database whose every operation fails with one code.
class BrokenDatabase : public velk::ObjectBase<data_storage::IIndexedKeyValueStorage> {
 public:
  explicit BrokenDatabase(velk::result_t code) : code_(code) {}
  velk::result_t Insert(ByteRange, ByteRange, int64_t&) override { return code_; }
  velk::result_t UpdateByKey(ByteRange, ByteRange) override { return code_; }
  velk::result_t UpdateById(int64_t, ByteRange) override { return code_; }
  velk::result_t FindByKey(ByteRange, Bytes&, int64_t&) override { return code_; }
  velk::result_t GetById(int64_t, Bytes&, Bytes&) override { return code_; }
  velk::result_t RemoveByKey(ByteRange) override { return code_; }
  velk::result_t RemoveById(int64_t) override { return code_; }
  velk::result_t CreateEnumerator(data_storage::IIndexedKeyValueEnumerator**) override { return code_; }
  velk::result_t Compact() override { return code_; }
  velk::result_t Clear() override { return code_; }

 private:
  velk::result_t code_;
};

Ref<velk::IStorage> parse(const std::string& text) {
  auto factory = velk::make<velk::XmlStorageFactory>();
  Ref<velk::IStorage> root;
  std::string path = ::testing::TempDir() + "/exchange_algorithms.xml";
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  EXPECT_EQ(factory->OpenFile(path, 0, root.put(), nullptr), errors::kOk);
  return root;
}

struct Copied {
  bool wrote = false;
  std::string text;
};

// Copies the root of `sourceText` into a new document and prints it.
Copied copyAndPrint(const std::string& sourceText) {
  auto source = parse(sourceText);
  std::string path = ::testing::TempDir() + "/exchange_algorithms_copy.xml";
  Ref<velk::IIO> file;
  EXPECT_EQ(velk::FileIo::open(path, velk::FileIo::Mode::kRewrite, file), errors::kOk);
  auto factory = velk::make<velk::XmlStorageFactory>();
  Ref<velk::IStorage> copy;
  EXPECT_EQ(factory->CreateDocument("root", file.get(), 0, copy.put()), errors::kOk);
  Copied result;
  result.wrote = copyExchangeTree(source.get(), copy.get());
  EXPECT_EQ(copy->Flush(), errors::kOk);
  std::ifstream in(path, std::ios::binary);
  result.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return result;
}

TEST(ExchangeTreeCopy, CopiesChildrenThenValuesThenText) {
  Copied copied = copyAndPrint("<root a=\"1\" b=\"&lt;2&gt;\">text<x><y z=\"3\" /></x><x /></root>");
  EXPECT_TRUE(copied.wrote);
  EXPECT_EQ(copied.text,
            "<root a=\"1\" b=\"&lt;2&gt;\">\r\n    <x>\r\n        <y z=\"3\" />\r\n    </x>\r\n    <x />\r\n    "
            "text\r\n</root>\r\n");
}

TEST(ExchangeTreeCopy, EmptyRootWritesNothing) {
  Copied copied = copyAndPrint("<root></root>");
  EXPECT_FALSE(copied.wrote);
  EXPECT_EQ(copied.text, "<root />\r\n");
}

TEST(ExchangeExport, FailingEnumerationRaisesAfterTheCompilerElement) {
  auto factory = velk::make<velk::XmlStorageFactory>();
  Ref<velk::IStorage> root;
  ASSERT_EQ(factory->CreateDocument("root", nullptr, 0, root.put()), errors::kOk);
  auto database = velk::make<BrokenDatabase>(errors::kLocked);
  try {
    exportRecords(root.get(), database.get(), factory.get(), nullptr);
    FAIL() << "no exception";
  } catch (const velk::CheckResultFailedException& e) {
    EXPECT_EQ(e.code(), errors::kLocked);
    EXPECT_STREQ(e.position().file, "components/vorn_config_compiler/source/exporter");
  }
  uint32_t count = 0;
  ASSERT_EQ(root->GetNodesCount(&count), errors::kOk);
  EXPECT_EQ(count, 1u);
}

TEST(ExchangeImport, FailingStoreRaisesWithItsCode) {
  auto source = parse("<root><key name=\"k\"><root a=\"1\" /></key></root>");
  auto location = velk::make<helpers::FileLocation>(nullptr, "in.xml", 1);
  auto root = velk::make<helpers::XmlFileStorageAdapter>(source, location);
  auto factory = velk::make<velk::XmlStorageFactory>();
  auto database = velk::make<BrokenDatabase>(errors::kLocked);
  try {
    importRecords(root.get(), database.get(), nullptr, factory.get(), nullptr);
    FAIL() << "no exception";
  } catch (const velk::CheckResultFailedException& e) {
    // The node could neither find nor insert its record.
    EXPECT_EQ(e.code(), errors::kMediaError);
    EXPECT_STREQ(e.position().file, "components/vorn_config_compiler/source/exporter");
  }
}

}  // namespace
}  // namespace app_core

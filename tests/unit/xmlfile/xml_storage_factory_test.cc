#include "xmlfile/xml_storage_factory.h"

#include <gtest/gtest.h>

#include "memory_io.h"
#include "temp_directory.h"
#include "xmlfile/file_io.h"
#include "xmlfile/serialization_factory_table.h"
#include "xmlfile/xml_input_check.h"

namespace velk {
namespace {

using xmltest::MemoryIo;
using app_core::testing::TempDirectory;

std::string nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text;
}

class XmlStorageFactoryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    factory.reset();
    EXPECT_EQ(liveObjectCount(), liveAtStart) << "objects left alive";
  }

  // Parses `text`; on failure returns the error.
  result_t parse(const std::string& text, XmlParseError& error, Ref<IStorage>& root) {
    auto io = make<MemoryIo>(text);
    return factory->ParseIo(io.get(), 0, root.put(), &error);
  }
  XmlParseError parseError(const std::string& text) {
    XmlParseError error;
    Ref<IStorage> root;
    EXPECT_EQ(parse(text, error, root), errors::kUnspecified) << text;
    EXPECT_FALSE(root);
    return error;
  }

  int32_t liveAtStart = liveObjectCount();
  Ref<IXmlStorageFactory> factory = make<XmlStorageFactory>();
};

TEST(SerializationFactoryTable, CreatesTheXmlStorageFactoryByClass) {
  registerFactoryTable(FactoryTableSlot::kSerialization, serializationFactoryTable);
  auto factory = createObject<IXmlStorageFactory>(nullptr, kXmlStorageFactoryClass);
  ASSERT_TRUE(factory);
  Ref<IStorage> root;
  EXPECT_EQ(factory->CreateDocument("root", nullptr, 0, root.put()), errors::kOk);
  EXPECT_EQ(root->Flush(), errors::kUnspecified);  // nowhere to write to

  Ref<IObjectFactory> other;
  EXPECT_EQ(serializationFactoryTable(nullptr, 0x12345678, other.put()), errors::kNotImplemented);
  EXPECT_FALSE(other);
  EXPECT_THROW(createObject<IXmlStorageFactory>(nullptr, kXmlStorageFactoryClass, 0x11111111),
               CheckResultFailedException);
  registerFactoryTable(FactoryTableSlot::kSerialization, nullptr);
}

TEST_F(XmlStorageFactoryTest, NewRecordIsRewrittenOnlyWhenFlushedOrChanged) {
  auto io = make<MemoryIo>(std::string(kNewRecordDocument));
  {
    Ref<IStorage> root;
    ASSERT_EQ(factory->ParseIo(io.get(), 0, root.put(), nullptr), errors::kOk);
  }
  EXPECT_EQ(io->content, "<root></root>");
  EXPECT_EQ(io->log, (std::vector<std::string>{"GetSize", "Read"}));

  io->log.clear();
  io->position = 0;
  {
    Ref<IStorage> root;
    ASSERT_EQ(factory->ParseIo(io.get(), 0, root.put(), nullptr), errors::kOk);
    io->log.clear();
    ASSERT_EQ(root->Flush(), errors::kOk);
    EXPECT_EQ(io->log, (std::vector<std::string>{"GetSize", "Seek(0)", "Write", "SetSize(10)", "Flush"}));
    io->log.clear();
  }
  EXPECT_EQ(io->content, "<root />\r\n");
  EXPECT_TRUE(io->log.empty()) << "an unchanged tree is not written again at release";
}

TEST_F(XmlStorageFactoryTest, ChangedTreeWritesItselfBackWhenReleased) {
  auto io = make<MemoryIo>("<root></root>");
  Ref<IStorage> child;
  {
    Ref<IStorage> root;
    ASSERT_EQ(factory->ParseIo(io.get(), 0, root.put(), nullptr), errors::kOk);
    ASSERT_EQ(root->CreateNode("0000", child.put()), errors::kOk);
  }
  EXPECT_EQ(io->content, "<root></root>") << "a child still holds the document";
  child->WriteValue("v", ValueDescriptor::ofBool(false), 0);
  child.reset();
  EXPECT_EQ(io->content, "<root>\r\n    <item_0000 v=\"0\" />\r\n</root>\r\n");
}

TEST_F(XmlStorageFactoryTest, FailingReadThrows) {
  auto io = make<MemoryIo>("<root/>");
  io->failRead = code(0x80000059);
  Ref<IStorage> root;
  try {
    factory->ParseIo(io.get(), 0, root.put(), nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const ResultCodeException& e) {
    EXPECT_EQ(e.message(), "Can't read from IO object. Error code: 0x80000059");
    EXPECT_EQ(e.code(), code(0x80000059));
  }
}

TEST_F(XmlStorageFactoryTest, ParserErrorsCarryDescriptionAndRow) {
  XmlParseError error = parseError("<root>\n<a>\n</b>\n</root>");
  EXPECT_EQ(error.description, "Error reading end tag.");
  EXPECT_EQ(error.row, 3);

  error = parseError("");
  EXPECT_EQ(error.description, "Error document empty.");
  error = parseError("<!-- only a comment -->");
  EXPECT_EQ(error.description, "Error document empty.");
}

TEST_F(XmlStorageFactoryTest, InvalidUtf8AndZeroBytesAreRefused) {
  XmlParseError error = parseError("<root>\n<a v=\"\xC3\x28\"/></root>");
  EXPECT_EQ(error.description, "Invalid UTF-8 sequence");
  EXPECT_EQ(error.row, 2);
  EXPECT_EQ(error.column, 7);
  error = parseError(std::string("<root/>\0<x/>", 12));
  EXPECT_EQ(error.description, "Invalid zero character");
  error = parseError("\xEF\xBF\xBF\xEF\xBB");
  EXPECT_EQ(error.description, "Invalid UTF-8 sequence");
}

TEST_F(XmlStorageFactoryTest, NestingIsLimited) {
  XmlParseError error;
  Ref<IStorage> root;
  ASSERT_EQ(parse(nested(xml::kMaxNestingDepth), error, root), errors::kOk);
  ASSERT_EQ(root->Flush(), errors::kOk);  // printed back to its input object
  root.reset();

  error = parseError("<r>\n" + nested(xml::kMaxNestingDepth));
  EXPECT_EQ(error.description, "Elements nested deeper than 1000 levels");
  EXPECT_EQ(error.row, 2);
  EXPECT_EQ(error.column, 3 * (xml::kMaxNestingDepth - 1) + 1);

  // Unclosed and absurdly deep: refused before the parser recurses.
  std::string deep;
  for (int i = 0; i < 500'000; ++i) deep += "<a>";
  EXPECT_EQ(parseError(deep).description, "Elements nested deeper than 1000 levels");
}

TEST_F(XmlStorageFactoryTest, DepthScanIgnoresMarkupThatOpensNoElement) {
  std::string text = "<?xml version=\"1.0\"?><r>";
  for (int i = 0; i < 2000; ++i) text += "<!-- <a> --><![CDATA[<a>]]><b x='>'/><?p <a>?>";
  text += "</r>";
  XmlParseError error;
  Ref<IStorage> root;
  EXPECT_EQ(parse(text, error, root), errors::kOk) << error.description;
}

TEST_F(XmlStorageFactoryTest, OpenFileWritesBackToTheSamePath) {
  TempDirectory dir;
  std::string path = dir.write("doc.xml", "<?xml version=\"1.0\"?>\n<cfg a='1'/>");
  Ref<IStorage> root;
  XmlParseError error;
  ASSERT_EQ(factory->OpenFile(path, 0, root.put(), &error), errors::kOk);
  root.reset();
  EXPECT_EQ(xmltest::readFile(path), "<?xml version=\"1.0\"?>\n<cfg a='1'/>") << "unchanged: not rewritten";

  ASSERT_EQ(factory->OpenFile(path, 0, root.put(), &error), errors::kOk);
  root->WriteValue("b", ValueDescriptor::ofUInt8(2), 0);
  root.reset();
  EXPECT_EQ(xmltest::readFile(path), "<?xml version=\"1.0\" ?>\r\n<cfg a=\"1\" b=\"2\" />\r\n");

  EXPECT_EQ(factory->OpenFile(dir.path("missing.xml"), 0, root.put(), &error), errors::kFileNotFound);
}

TEST_F(XmlStorageFactoryTest, NewDocumentIntoAFile) {
  TempDirectory dir;
  Ref<IIO> file;
  ASSERT_EQ(FileIo::open(dir.path("out.xml"), FileIo::Mode::kReadWrite, file), errors::kOk);
  Ref<IStorage> root;
  ASSERT_EQ(factory->CreateDocument("root", file.get(), 0, root.put()), errors::kOk);
  ASSERT_EQ(root->Flush(), errors::kOk);
  EXPECT_EQ(xmltest::readFile(dir.path("out.xml")), "<root />\r\n");
  EXPECT_THROW(factory->CreateDocument("a b", nullptr, 0, root.put()), wrappers::XmlStorageException);
}

}  // namespace
}  // namespace velk

namespace velk {
namespace {

// Every prefix and many byte mutations of a small document either parse or
// give a parse error; none may crash the parser or the printer.
TEST(XmlStorageFactoryRobustness, DamagedDocumentsNeverCrash) {
  const std::string sample =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE r>\n<root a='1' b=\"&amp;&#x41;\">\n"
      "  <!-- note -->\n  <c><![CDATA[x<y]]></c>text\xC3\xA9<d e='f'/>\n</root>\n";
  const char replacements[] = {'<', '>', '/', '"', '\'', '&', '!', '?', '[', ']', '-', '\0', '\xC3', ' '};
  auto factory = make<XmlStorageFactory>();
  auto attempt = [&](const std::string& text) {
    auto io = make<xmltest::MemoryIo>(text);
    Ref<IStorage> root;
    XmlParseError error;
    result_t r = factory->ParseIo(io.get(), 0, root.put(), &error);
    if (succeeded(r)) {
      EXPECT_EQ(root->Flush(), errors::kOk);
    }
  };
  for (size_t length = 0; length <= sample.size(); ++length) attempt(sample.substr(0, length));
  for (size_t at = 0; at < sample.size(); ++at) {
    for (char c : replacements) {
      std::string damaged = sample;
      damaged[at] = c;
      attempt(damaged);
    }
  }
}

}  // namespace
}  // namespace velk

#include "xmlfile/xml_storage.h"

#include <gtest/gtest.h>

#include "memory_io.h"
#include "velk/exception.h"
#include "xmlfile/xml_storage_factory.h"

namespace velk {
namespace {

using xmltest::MemoryIo;

class XmlStorageTest : public ::testing::Test {
 protected:
  Ref<IStorage> newDocument(uint32_t options = 0, IIO* destination = nullptr) {
    Ref<IStorage> root;
    EXPECT_EQ(factory->CreateDocument("root", destination, options, root.put()), errors::kOk);
    return root;
  }
  Ref<IStorage> parse(const std::string& text, uint32_t options = 0) {
    auto io = make<MemoryIo>(text);
    Ref<IStorage> root;
    EXPECT_EQ(factory->ParseIo(io.get(), options, root.put(), nullptr), errors::kOk);
    return root;
  }
  static Ref<IStorage> create(IStorage* parent, std::string_view name) {
    Ref<IStorage> child;
    EXPECT_EQ(parent->CreateNode(name, child.put()), errors::kOk);
    return child;
  }
  static std::string text(IStorage* node, std::string_view name) {
    ValueDescriptor value = ValueDescriptor::ofText({});
    EXPECT_EQ(node->ReadValue(name, value, 0), errors::kOk);
    return value.text;
  }

  Ref<IXmlStorageFactory> factory = make<XmlStorageFactory>();
};

std::string childName(IStorage* node, uint32_t index) {
  uint32_t size = 0;
  EXPECT_EQ(node->GetNodeName(index, nullptr, &size), errors::kOk);
  std::string name(size, '\0');
  EXPECT_EQ(node->GetNodeName(index, name.data(), &size), errors::kOk);
  name.resize(size);
  return name;
}

TEST_F(XmlStorageTest, KeptAsPrintedPrintsTheSameAndLeavesTheNodeView) {
  // Three items in a list, then a second list; with `keep` the first two
  // items give up their elements as each is finished.
  auto build = [&](bool keep, IIO* io) {
    Ref<IStorage> root = newDocument(0, io);
    Ref<IStorage> list = create(root.get(), "list");
    for (int i = 0; i < 3; ++i) {
      Ref<IStorage> item = create(list.get(), "item");
      EXPECT_EQ(item->WriteValue("n", ValueDescriptor::ofText(std::to_string(i) + "\"&"), 0), errors::kOk);
      EXPECT_EQ(create(item.get(), "inner")->WriteValue("", ValueDescriptor::ofText("a  b"), 0), errors::kOk);
      if (keep && i < 2) {
        uint32_t count = 0;
        EXPECT_EQ(queryInterface<IKeepAsPrinted>(item.get())->KeepAsPrinted(), errors::kOk);
        EXPECT_EQ(item->GetNodesCount(&count), errors::kInvalidState);
      }
    }
    create(root.get(), "other");
    return root;
  };
  auto plain = make<MemoryIo>();
  auto kept = make<MemoryIo>();
  Ref<IStorage> keptRoot = build(true, kept.get());
  ASSERT_EQ(build(false, plain.get())->Flush(), errors::kOk);
  ASSERT_EQ(keptRoot->Flush(), errors::kOk);
  EXPECT_EQ(kept->content, plain->content);
  Ref<IStorage> list;
  uint32_t count = 0;
  ASSERT_EQ(keptRoot->GetNode(0, list.put()), errors::kOk);
  ASSERT_EQ(list->GetNodesCount(&count), errors::kOk);
  EXPECT_EQ(count, 1u);
  // Neither last nor after kept text, the root, a text with a tab: refused.
  EXPECT_EQ(queryInterface<IKeepAsPrinted>(list.get())->KeepAsPrinted(), errors::kNotSupported);
  EXPECT_EQ(queryInterface<IKeepAsPrinted>(keptRoot.get())->KeepAsPrinted(), errors::kNotSupported);
  Ref<IStorage> other;
  ASSERT_EQ(keptRoot->GetNode(1, other.put()), errors::kOk);
  EXPECT_EQ(other->WriteValue("", ValueDescriptor::ofText("a\tb"), 0), errors::kOk);
  EXPECT_EQ(queryInterface<IKeepAsPrinted>(other.get())->KeepAsPrinted(), errors::kNotSupported);
  ASSERT_EQ(keptRoot->Flush(), errors::kOk);
  EXPECT_NE(kept->content.find("<other>a&#x09;b</other>"), std::string::npos);
}

TEST_F(XmlStorageTest, NameOperationsFollowTheSizeProtocol) {
  Ref<IStorage> root = newDocument();
  uint32_t size = 0;
  ASSERT_EQ(root->GetName(nullptr, &size), errors::kOk);
  EXPECT_EQ(size, 5u);
  char small[4];
  size = sizeof small;
  EXPECT_EQ(root->GetName(small, &size), errors::kBufferTooSmall);
  char exact[5] = {'x', 'x', 'x', 'x', 'x'};
  size = sizeof exact;
  ASSERT_EQ(root->GetName(exact, &size), errors::kOk);
  EXPECT_STREQ(exact, "root");
  EXPECT_EQ(size, 4u);

  create(root.get(), "child");
  ASSERT_EQ(root->WriteValue("attr", ValueDescriptor::ofText("v"), 0), errors::kOk);
  size = 0;
  EXPECT_EQ(root->GetNodeName(0, nullptr, &size), errors::kOk);
  EXPECT_EQ(size, 6u);
  size = 0;
  EXPECT_EQ(root->GetValueName(0, nullptr, &size), errors::kOk);
  EXPECT_EQ(size, 5u);
  size = 4;
  EXPECT_EQ(root->GetValueName(0, small, &size), errors::kBufferTooSmall);
  EXPECT_EQ(root->GetNodeName(1, nullptr, &size), errors::kInvalidIndex);
  EXPECT_EQ(root->GetValueName(1, nullptr, &size), errors::kInvalidIndex);
}

TEST_F(XmlStorageTest, NamesNotBeginningWithALetterGetThePrefix) {
  Ref<IStorage> root = newDocument();
  create(root.get(), "42");
  create(root.get(), "");
  create(root.get(), "_x");
  create(root.get(), "\xC3\xA9t\xC3\xA9");
  create(root.get(), "a-b.c:d_1");
  EXPECT_EQ(childName(root.get(), 0), "item_42");
  EXPECT_EQ(childName(root.get(), 1), "item_");
  EXPECT_EQ(childName(root.get(), 2), "item__x");
  EXPECT_EQ(childName(root.get(), 3), "item_\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(childName(root.get(), 4), "a-b.c:d_1");

  // Lookups map the asked name the same way, so both forms find the node.
  Ref<IStorage> found;
  EXPECT_EQ(root->GetNode("42", found.put()), errors::kOk);
  EXPECT_EQ(root->GetNode("item_42", found.put()), errors::kOk);
  EXPECT_EQ(root->GetNode("a b", found.put()), errors::kNotFound);
  EXPECT_EQ(root->WriteValue("0", ValueDescriptor::ofText("v"), 0), errors::kOk);
  EXPECT_EQ(text(root.get(), "item_0"), "v");
  EXPECT_EQ(text(root.get(), "0"), "v");
}

TEST_F(XmlStorageTest, InvalidCharactersInNamesAreRefused) {
  Ref<IStorage> root = newDocument();
  Ref<IStorage> child;
  for (std::string_view bad : {"a b", "a/b", "a<b", "x=y", "tab\t"}) {
    try {
      root->CreateNode(bad, child.put());
      ADD_FAILURE() << "accepted node name " << bad;
    } catch (const wrappers::XmlStorageException& e) {
      EXPECT_EQ(e.message(), "Invalid character in xml tag name");
    }
    EXPECT_THROW(root->WriteValue(bad, ValueDescriptor::ofText("v"), 0), wrappers::XmlStorageException);
  }
  uint32_t count = 1;
  EXPECT_EQ(root->GetNodesCount(&count), errors::kOk);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(root->GetValuesCount(&count), errors::kOk);
  EXPECT_EQ(count, 0u);
}

TEST_F(XmlStorageTest, ValuesAreStoredInTheirTextForm) {
  auto io = make<MemoryIo>();
  Ref<IStorage> root = newDocument(0, io.get());
  ASSERT_EQ(root->WriteValue("b", ValueDescriptor::ofBool(true), 0), errors::kOk);
  ASSERT_EQ(root->WriteValue("i", ValueDescriptor::ofInt32(-2), 0), errors::kOk);
  ASSERT_EQ(root->WriteValue("bin", ValueDescriptor::ofBinary({0x0A, 0xFF}), 0), errors::kOk);
  ASSERT_EQ(root->WriteValue("w", ValueDescriptor::ofWideText(L"\u00e9"), 0), errors::kOk);
  ASSERT_EQ(root->Flush(), errors::kOk);
  EXPECT_EQ(io->content, "<root b=\"1\" i=\"4294967294\" bin=\"0AFF\" w=\"\xC3\xA9\" />\r\n");
  EXPECT_EQ(root->WriteValue("odd", ValueDescriptor::ofBits(13, 0), 0), errors::kUnspecified);
}

TEST_F(XmlStorageTest, WritingAnExistingNameReplacesInPlaceAndTypeZeroRemoves) {
  auto io = make<MemoryIo>();
  Ref<IStorage> root = newDocument(0, io.get());
  root->WriteValue("a", ValueDescriptor::ofText("1"), 0);
  root->WriteValue("b", ValueDescriptor::ofText("2"), 0);
  root->WriteValue("a", ValueDescriptor::ofText("3"), 0);
  root->WriteValue("", ValueDescriptor::ofText("t"), 0);
  ASSERT_EQ(root->Flush(), errors::kOk);
  EXPECT_EQ(io->content, "<root a=\"3\" b=\"2\">t</root>\r\n");
  EXPECT_EQ(root->WriteValue("a", ValueDescriptor::empty(), 0), errors::kOk);
  EXPECT_EQ(root->WriteValue("", ValueDescriptor::empty(), 0), errors::kOk);
  ASSERT_EQ(root->Flush(), errors::kOk);
  EXPECT_EQ(io->content, "<root b=\"2\" />\r\n");
  EXPECT_EQ(text(root.get(), ""), "");
  ValueDescriptor missing;
  EXPECT_EQ(root->ReadValue("a", missing, 0), errors::kNotFound);
}

TEST_F(XmlStorageTest, PrintsFourBlanksPerLevelAndCrLf) {
  auto io = make<MemoryIo>();
  Ref<IStorage> root = newDocument(0, io.get());
  root->WriteValue("a", ValueDescriptor::ofText("x\"<&>'\n"), 0);
  create(root.get(), "42");
  Ref<IStorage> child = create(root.get(), "child");
  child->WriteValue("", ValueDescriptor::ofText("text & more"), 0);
  Ref<IStorage> deep = create(create(root.get(), "outer").get(), "inner");
  deep->WriteValue("k", ValueDescriptor::ofUInt32(7), 0);
  ASSERT_EQ(root->Flush(), errors::kOk);
  // The printer quotes with apostrophes a value that holds a double quote.
  EXPECT_EQ(io->content,
            "<root a='x&quot;&lt;&amp;&gt;&apos;&#x0A;'>\r\n"
            "    <item_42 />\r\n"
            "    <child>text &amp; more</child>\r\n"
            "    <outer>\r\n"
            "        <inner k=\"7\" />\r\n"
            "    </outer>\r\n"
            "</root>\r\n");
}

TEST_F(XmlStorageTest, CdataOnlyWithTheOptionAndOnlyForMarkup) {
  auto withOption = make<MemoryIo>();
  Ref<IStorage> root = newDocument(kXmlCdataOption, withOption.get());
  create(root.get(), "m")->WriteValue("", ValueDescriptor::ofText("a<b"), 0);
  create(root.get(), "line")->WriteValue("", ValueDescriptor::ofText("1\r\n2"), 0);
  create(root.get(), "end")->WriteValue("", ValueDescriptor::ofText("a]]>b"), 0);
  create(root.get(), "plain")->WriteValue("", ValueDescriptor::ofText("ab"), 0);
  ASSERT_EQ(root->Flush(), errors::kOk);
  EXPECT_EQ(withOption->content,
            "<root>\r\n"
            "    <m>\r\n"
            "        <![CDATA[a<b]]>\r\n"
            "    </m>\r\n"
            "    <line>\r\n"
            "        <![CDATA[1\r\n2]]>\r\n"
            "    </line>\r\n"
            "    <end>a]]&gt;b</end>\r\n"
            "    <plain>ab</plain>\r\n"
            "</root>\r\n");

  auto without = make<MemoryIo>();
  Ref<IStorage> other = newDocument(0, without.get());
  other->WriteValue("", ValueDescriptor::ofText("a<b"), 0);
  ASSERT_EQ(other->Flush(), errors::kOk);
  EXPECT_EQ(without->content, "<root>a&lt;b</root>\r\n");
}

TEST_F(XmlStorageTest, ChildrenAndValuesByPositionInDocumentOrder) {
  Ref<IStorage> root = parse("<root x=\"1\" y=\"2\"><a/><!-- c --><b>t</b>text<a n=\"2\"/></root>");
  uint32_t count = 0;
  ASSERT_EQ(root->GetNodesCount(&count), errors::kOk);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(childName(root.get(), 0), "a");
  EXPECT_EQ(childName(root.get(), 2), "a");
  EXPECT_EQ(childName(root.get(), 1), "b");
  Ref<IStorage> child;
  ASSERT_EQ(root->GetNode(2u, child.put()), errors::kOk);
  EXPECT_EQ(text(child.get(), "n"), "2");
  EXPECT_EQ(root->GetNode(3u, child.put()), errors::kInvalidIndex);
  ASSERT_EQ(root->GetNode("a", child.put()), errors::kOk);
  EXPECT_EQ(text(child.get(), ""), "");
  EXPECT_EQ(root->GetNode("zz", child.put()), errors::kNotFound);
  EXPECT_EQ(text(root.get(), ""), "text");

  ValueDescriptor value;
  ASSERT_EQ(root->ReadValue(1u, value, 0), errors::kOk);
  EXPECT_EQ(value.type, kTypeText);
  EXPECT_EQ(value.text, "2");
  value = ValueDescriptor::ofBits(kTypeUInt32 | kTypeByRef, 0);
  ASSERT_EQ(root->ReadValue(0u, value, 0), errors::kOk);
  EXPECT_EQ(value.bits, 1u);
  EXPECT_EQ(root->ReadValue(2u, value, 0), errors::kInvalidIndex);
}

TEST_F(XmlStorageTest, ParsedNodesKnowTheirPosition) {
  Ref<IStorage> root = parse("<root>\n  <a/>\n</root>");
  Ref<IStorage> child;
  ASSERT_EQ(root->GetNode(0u, child.put()), errors::kOk);
  auto position = queryInterface<IStoragePosition>(child.get());
  ASSERT_TRUE(position);
  int row = 0, column = 0;
  ASSERT_EQ(position->GetPosition(&row, &column), errors::kOk);
  EXPECT_EQ(row, 2);
  EXPECT_EQ(column, 3);
  Ref<IStorage> created = create(root.get(), "new");
  EXPECT_EQ(queryInterface<IStoragePosition>(created.get())->GetPosition(&row, &column), errors::kNotFound);
}

TEST_F(XmlStorageTest, RemovedNodesDetachTheirHandles) {
  auto io = make<MemoryIo>();
  Ref<IStorage> root = newDocument(0, io.get());
  Ref<IStorage> first = create(root.get(), "x");
  Ref<IStorage> inner = create(first.get(), "y");
  Ref<IStorage> second = create(root.get(), "x");
  ASSERT_EQ(root->RemoveNode("x"), errors::kOk);
  uint32_t count = 0;
  EXPECT_EQ(inner->GetNodesCount(&count), errors::kInvalidState);
  EXPECT_EQ(first->WriteValue("v", ValueDescriptor::ofText("1"), 0), errors::kInvalidState);
  EXPECT_EQ(second->WriteValue("v", ValueDescriptor::ofText("1"), 0), errors::kOk);
  EXPECT_EQ(root->RemoveNode("missing"), errors::kNotFound);
  ASSERT_EQ(root->Flush(), errors::kOk);
  EXPECT_EQ(io->content, "<root>\r\n    <x v=\"1\" />\r\n</root>\r\n");
}

TEST_F(XmlStorageTest, EnumeratingManyChildrenStaysCorrectAcrossChanges) {
  Ref<IStorage> root = newDocument();
  for (int i = 0; i < 50; ++i) create(root.get(), "n" + std::to_string(i));
  EXPECT_EQ(childName(root.get(), 10), "n10");
  EXPECT_EQ(childName(root.get(), 11), "n11");
  ASSERT_EQ(root->RemoveNode("n5"), errors::kOk);
  EXPECT_EQ(childName(root.get(), 10), "n11");
  EXPECT_EQ(childName(root.get(), 3), "n3");
}

}  // namespace
}  // namespace velk

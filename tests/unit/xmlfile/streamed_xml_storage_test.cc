#include "xmlfile/streamed_xml_storage.h"

#include <gtest/gtest.h>

#include <random>

#include "memory_io.h"
#include "xmlfile/xml_storage_factory.h"

namespace velk {
namespace {

using xmltest::MemoryIo;

// The same writes go to a document tree and to a streamed document; both
// prints must be the same bytes.
class SameWrites {
 public:
  explicit SameWrites(uint32_t seed) : random_(seed) {}

  void build(IStorage* tree, IStorage* streamed, int depth) {
    if (chance(3)) writeValues(tree, streamed);
    int children = depth < 5 ? pick(depth == 0 ? 5 : 4) : 0;
    for (int i = 0; i < children; ++i) {
      std::string name = pickOf(kNames);
      Ref<IStorage> treeChild, streamedChild;
      ASSERT_EQ(tree->CreateNode(name, treeChild.put()), errors::kOk);
      ASSERT_EQ(streamed->CreateNode(name, streamedChild.put()), errors::kOk);
      build(treeChild.get(), streamedChild.get(), depth + 1);
    }
    if (chance(2)) writeValues(tree, streamed);
    if (chance(2)) write(tree, streamed, "", ValueDescriptor::ofText(pickOf(kTexts)));
    if (chance(8)) write(tree, streamed, "", ValueDescriptor());
  }

 private:
  static constexpr const char* kNames[] = {"a", "item", "x.y", "9lives", "d-e", "\xC3\xA9t\xC3\xA9"};
  static constexpr const char* kTexts[] = {"",       "plain",     "a < b & c > d", "say \"hi\" 'there'",
                                           "&#x41;", "  spaced ", "line\r\nbreak", "\xE2\x82\xAC 5",
                                           "]]>",    "tab\there"};

  int pick(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
  bool chance(int oneIn) { return pick(oneIn) == 0; }
  template <size_t N>
  std::string pickOf(const char* const (&items)[N]) {
    return items[pick(static_cast<int>(N))];
  }

  void write(IStorage* tree, IStorage* streamed, std::string_view name, const ValueDescriptor& value) {
    ASSERT_EQ(tree->WriteValue(name, value, 0), errors::kOk);
    ASSERT_EQ(streamed->WriteValue(name, value, 0), errors::kOk);
  }

  void writeValues(IStorage* tree, IStorage* streamed) {
    for (int i = pick(4); i > 0; --i) {
      std::string name = pickOf(kNames);
      if (chance(6)) {
        write(tree, streamed, name, ValueDescriptor());
      } else if (chance(4)) {
        write(tree, streamed, name, ValueDescriptor::ofInt32(pick(1000) - 500));
      } else {
        write(tree, streamed, name, ValueDescriptor::ofText(pickOf(kTexts)));
      }
    }
  }

  std::mt19937 random_;
};

TEST(StreamedXmlStorageTest, PrintsWhatTheDocumentTreePrints) {
  Ref<IXmlStorageFactory> factory = make<XmlStorageFactory>();
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    auto treeIo = make<MemoryIo>();
    auto streamedIo = make<MemoryIo>("old bytes, longer than some prints are");
    Ref<IStorage> tree;
    ASSERT_EQ(factory->CreateDocument("root", treeIo.get(), 0, tree.put()), errors::kOk);
    Ref<StreamedXmlStorage> streamed = StreamedXmlStorage::createDocument("root", Ref<IIO>(streamedIo.get()));
    SameWrites(seed).build(tree.get(), streamed.get(), 0);
    ASSERT_EQ(tree->Flush(), errors::kOk);
    ASSERT_EQ(streamed->Flush(), errors::kOk);
    ASSERT_EQ(streamedIo->content, treeIo->content) << "seed " << seed;
  }
}

// Texts without a byte the printer escapes are copied whole: each byte
// alone in a text must still print as the tree prints it.
TEST(StreamedXmlStorageTest, EachByteOfATextPrintsAsTheTreePrintsIt) {
  Ref<IXmlStorageFactory> factory = make<XmlStorageFactory>();
  for (int byte = 1; byte < 256; ++byte) {
    std::string text = "a" + std::string(1, static_cast<char>(byte)) + "b";
    auto treeIo = make<MemoryIo>();
    auto streamedIo = make<MemoryIo>();
    Ref<IStorage> tree;
    ASSERT_EQ(factory->CreateDocument("root", treeIo.get(), 0, tree.put()), errors::kOk);
    Ref<StreamedXmlStorage> streamed = StreamedXmlStorage::createDocument("root", Ref<IIO>(streamedIo.get()));
    for (IStorage* document : {tree.get(), static_cast<IStorage*>(streamed.get())}) {
      Ref<IStorage> child;
      ASSERT_EQ(document->CreateNode("t", child.put()), errors::kOk);
      ASSERT_EQ(child->WriteValue("", ValueDescriptor::ofText(text), 0), errors::kOk);
      ASSERT_EQ(document->Flush(), errors::kOk);
    }
    ASSERT_EQ(streamedIo->content, treeIo->content) << "byte " << byte;
  }
}

TEST(StreamedXmlStorageTest, FinishedElementsAndChildrenAfterTextAreRefused) {
  Ref<StreamedXmlStorage> root = StreamedXmlStorage::createDocument("root");
  Ref<IStorage> first, second, late;
  ASSERT_EQ(root->CreateNode("first", first.put()), errors::kOk);
  ASSERT_EQ(root->CreateNode("second", second.put()), errors::kOk);
  EXPECT_EQ(first->WriteValue("v", ValueDescriptor::ofText("1"), 0), errors::kInvalidState);
  EXPECT_EQ(first->CreateNode("c", late.put()), errors::kInvalidState);
  ASSERT_EQ(second->WriteValue("", ValueDescriptor::ofText("text"), 0), errors::kOk);
  EXPECT_EQ(second->CreateNode("c", late.put()), errors::kInvalidState);
  EXPECT_EQ(root->Flush(), errors::kUnspecified);
  auto io = make<MemoryIo>();
  ASSERT_EQ(root->printTo(*io), errors::kOk);
  EXPECT_EQ(io->content, "<root>\r\n    <first />\r\n    <second>text</second>\r\n</root>\r\n");
  EXPECT_EQ(second->WriteValue("v", ValueDescriptor::ofText("1"), 0), errors::kInvalidState);
}

}  // namespace
}  // namespace velk

#include <gtest/gtest.h>

#include "memory_io.h"
#include "velk/exception.h"
#include "xmlfile/empty_storage.h"
#include "xmlfile/renamed_storage.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/xml_file_storage_adapter.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core::helpers {
namespace {

using velk::Ref;
using velk::ValueDescriptor;
namespace errors = velk::errors;

TEST(EmptyStorage, HasNothingAndRefusesChanges) {
  auto empty = velk::make<EmptyStorage>();
  uint32_t count = 7;
  EXPECT_EQ(empty->GetNodesCount(&count), errors::kOk);
  EXPECT_EQ(count, 0u);
  count = 7;
  EXPECT_EQ(empty->GetValuesCount(&count), errors::kOk);
  EXPECT_EQ(count, 0u);
  Ref<velk::IStorage> child;
  EXPECT_EQ(empty->GetNode(0u, child.put()), errors::kInvalidIndex);
  EXPECT_EQ(empty->GetNode("a", child.put()), errors::kNotFound);
  EXPECT_EQ(empty->CreateNode("a", child.put()), errors::kNotSupported);
  EXPECT_FALSE(child);
  uint32_t size = 0;
  EXPECT_EQ(empty->GetNodeName(0, nullptr, &size), errors::kInvalidIndex);
  EXPECT_EQ(empty->GetValueName(0, nullptr, &size), errors::kInvalidIndex);
  EXPECT_EQ(empty->GetName(nullptr, &size), errors::kNotSupported);
  ValueDescriptor value;
  EXPECT_EQ(empty->ReadValue(0u, value, 0), errors::kInvalidIndex);
  EXPECT_EQ(empty->ReadValue("a", value, 0), errors::kNotFound);
  EXPECT_EQ(empty->WriteValue("a", ValueDescriptor::ofText("v"), 0), errors::kNotSupported);
  EXPECT_EQ(empty->RemoveNode("a"), errors::kNotSupported);
  EXPECT_EQ(empty->Flush(), errors::kOk);
}

class LocatedStorageTest : public ::testing::Test {
 protected:
  Ref<IXmlFileStorage> parse(const std::string& text, const std::string& file) {
    auto io = velk::make<xmltest::MemoryIo>(text);
    Ref<velk::IStorage> root;
    EXPECT_EQ(factory->ParseIo(io.get(), 0, root.put(), nullptr), errors::kOk);
    auto location = velk::make<FileLocation>(nullptr, file, lineOf(root.get()));
    return velk::make<XmlFileStorageAdapter>(root, location);
  }

  Ref<velk::IXmlStorageFactory> factory = velk::make<velk::XmlStorageFactory>();
};

TEST_F(LocatedStorageTest, RenamedStorageShowsItsOwnNameAndPassesTheRest) {
  Ref<IXmlFileStorage> root = parse("<root a=\"1\">\n<child/></root>", "f.xml");
  auto renamed = velk::make<RenamedStorage>(root, "block");
  EXPECT_EQ(velk::helpers::nodeName(renamed.get()), "block");
  uint32_t size = 0;
  EXPECT_EQ(renamed->GetName(nullptr, &size), errors::kOk);
  EXPECT_EQ(size, 6u);
  char small[3];
  size = sizeof small;
  EXPECT_EQ(renamed->GetName(small, &size), errors::kBufferTooSmall);

  Ref<IXmlFileStorage> child;
  ASSERT_EQ(renamed->GetNode("child", child.put()), errors::kOk);
  EXPECT_EQ(velk::helpers::nodeName(child.get()), "child");
  EXPECT_EQ(locationText(child->GetLocation()), "f.xml(2)");
  EXPECT_EQ(renamed->GetLocation(), root->GetLocation());
  std::string text;
  EXPECT_TRUE(velk::helpers::readText(renamed.get(), "a", text));
  EXPECT_EQ(text, "1");

  auto other = velk::make<XmlFileStorageProxy>(root);
  Ref<velk::IStorage> includedRoot;
  ASSERT_EQ(factory->CreateDocument("inc", nullptr, 0, includedRoot.put()), errors::kOk);
  Ref<IXmlFileStorage> included;
  EXPECT_EQ(other->CreateIncludedStorage(included.put(), "g.xml", includedRoot.get()), errors::kNotImplemented);
  ASSERT_EQ(renamed->CreateIncludedStorage(included.put(), "g.xml", includedRoot.get()), errors::kOk);
  EXPECT_EQ(locationText(included->GetLocation()), "g.xml");
  EXPECT_EQ(included->GetLocation()->GetIncludedFrom(), root->GetLocation());
}

TEST_F(LocatedStorageTest, PlainStorageFormsKeepLocations) {
  Ref<IXmlFileStorage> root = parse("<root>\n\n<x/></root>", "f.xml");
  velk::IStorage* plain = root.get();
  Ref<velk::IStorage> child;
  ASSERT_EQ(plain->GetNode(0u, child.put()), errors::kOk);
  auto located = velk::queryInterface<IXmlFileStorage>(child.get());
  ASSERT_TRUE(located);
  EXPECT_EQ(located->GetLocation()->GetLine(), 3u);
  ASSERT_EQ(plain->CreateNode("y", child.put()), errors::kOk);
  EXPECT_TRUE(velk::queryInterface<IXmlFileStorage>(child.get()));
  EXPECT_EQ(plain->GetNode("none", child.put()), errors::kNotFound);
  EXPECT_FALSE(child);
}

TEST_F(LocatedStorageTest, ReadTextTellsAbsentValuesApart) {
  Ref<IXmlFileStorage> root = parse("<root a=\"x\">\xC3\xA9</root>", "f.xml");
  std::string narrow;
  std::wstring wide;
  EXPECT_TRUE(velk::helpers::readText(root.get(), "a", narrow));
  EXPECT_EQ(narrow, "x");
  EXPECT_FALSE(velk::helpers::readText(root.get(), "b", narrow));
  EXPECT_TRUE(velk::helpers::readText(root.get(), "", wide));
  EXPECT_EQ(wide, L"\u00e9");
  auto empty = velk::make<EmptyStorage>();
  EXPECT_FALSE(velk::helpers::readText(empty.get(), "a", narrow));
  EXPECT_EQ(velk::helpers::valuesCount(root.get()), 1u);
  EXPECT_EQ(velk::helpers::valueName(root.get(), 0), "a");
}

// A view whose reads fail, over a parsed node whose position is known.
class FailingView : public XmlFileStorageProxy {
 public:
  using XmlFileStorageProxy::XmlFileStorageProxy;
  using XmlFileStorageProxy::ReadValue;
  velk::result_t ReadValue(std::string_view, ValueDescriptor&, uint32_t) override { return errors::kAccessDenied; }
  velk::result_t GetValueName(uint32_t, char*, uint32_t*) override { return errors::kInvalidState; }
  velk::result_t GetValuesCount(uint32_t*) override { return errors::kInvalidState; }
};

TEST_F(LocatedStorageTest, ReadFailuresNameTheValueNodeAndPosition) {
  Ref<IXmlFileStorage> root = parse("<root>\n  <node/></root>", "f.xml");
  Ref<IXmlFileStorage> node;
  ASSERT_EQ(root->GetNode(0u, node.put()), errors::kOk);
  auto failing = velk::make<FailingView>(node);
  std::string text;
  try {
    velk::helpers::readText(failing.get(), "value", text);
    ADD_FAILURE() << "no exception";
  } catch (const velk::wrappers::XmlStorageException& e) {
    EXPECT_EQ(e.message(), "value at node node (row 2, column 3)");
    EXPECT_EQ(e.code(), errors::kAccessDenied);
    EXPECT_EQ(e.row(), 2);
    EXPECT_EQ(e.column(), 3);
    EXPECT_STREQ(e.position().file, "velk/util/helpers/storage");
    EXPECT_EQ(e.displayText().rfind("XmlStorageException - value at node node (row 2, column 3). At "
                                    "velk/util/helpers/storage(",
                                    0),
              0u);
  }
  EXPECT_THROW(velk::helpers::valuesCount(failing.get()), velk::wrappers::XmlStorageException);
  EXPECT_THROW(velk::helpers::valueName(failing.get(), 0), velk::wrappers::XmlStorageException);
}

TEST_F(LocatedStorageTest, PositionIsLeftOutWhenUnknown) {
  Ref<velk::IStorage> created;
  ASSERT_EQ(factory->CreateDocument("made", nullptr, 0, created.put()), errors::kOk);
  auto failing = velk::make<FailingView>(velk::make<XmlFileStorageAdapter>(created, velk::make<FileLocation>("x")));
  std::wstring text;
  try {
    velk::helpers::readText(failing.get(), "v", text);
    ADD_FAILURE() << "no exception";
  } catch (const velk::wrappers::XmlStorageException& e) {
    EXPECT_EQ(e.message(), "v at node made");
    EXPECT_EQ(e.row(), -1);
  }
}

TEST(NodeName, FailureThrowsCheckResultFailed) {
  auto empty = velk::make<EmptyStorage>();
  try {
    velk::helpers::nodeName(empty.get());
    ADD_FAILURE() << "no exception";
  } catch (const velk::CheckResultFailedException& e) {
    EXPECT_EQ(e.code(), errors::kNotSupported);
    EXPECT_STREQ(e.position().file, "velk/util/helpers/storage");
  }
}

TEST(FileLocation, PseudoFilesPrintLineZero) {
  EXPECT_EQ(locationText(velk::make<FileLocation>("[command line]").get()), "[command line](0)");
  EXPECT_EQ(locationText(velk::make<FileLocation>("[built-in]").get()), "[built-in](0)");
}

}  // namespace
}  // namespace app_core::helpers

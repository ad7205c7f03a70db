#include "preprocessor/filtered_storage.h"

#include <gtest/gtest.h>

#include "node_dump.h"
#include "preprocessor/default_storage_filter.h"
#include "preprocessor/storage_iterator_stack.h"
#include "test_node.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/xml_file_storage_adapter.h"
#include "xmlfile/xml_storage_factory.h"
#include "../xmlfile/memory_io.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;
namespace {

using test::dump;
using testing::parseTestXml;
using velk::Ref;

std::string nameOf(const Ref<IXmlFileStorage>& node) { return node ? nodeName(node.get()) : "(none)"; }

TEST(StorageIteratorStack, OffersChildrenOfThePushedNodeBeforeTheRestOfTheLevel) {
  auto root = parseTestXml("<r><a/><b><b1/><b2/></b><c/></r>");
  StorageIteratorStack stack;
  stack.push(Ref<IXmlFileStorage>(root));
  std::string order;
  while (Ref<IXmlFileStorage> node = stack.next()) {
    std::string name = nameOf(node);
    order += name + " ";
    if (name == "b") stack.push(node);
  }
  EXPECT_EQ(order, "a b b1 b2 c ");
  EXPECT_TRUE(stack.empty());
  EXPECT_FALSE(stack.next());
}

TEST(StorageIteratorStack, ChildlessAndNestedPushesUnwindInOrder) {
  auto root = parseTestXml("<r><x><y><z/></y></x><e/><w/></r>");
  StorageIteratorStack stack;
  stack.push(Ref<IXmlFileStorage>(root));
  std::string order;
  while (Ref<IXmlFileStorage> node = stack.next()) {
    order += nameOf(node) + " ";
    stack.push(node);  // every node spliced: a depth-first walk
  }
  EXPECT_EQ(order, "x y z e w ");
}

// Hides values named "secret", drops "drop" elements, splices "splice"
// elements and upper-cases nothing but records the values it filtered.
class ProbeFilter : public DefaultStorageFilter {
 public:
  void FilterValue(IXmlFileStorage*, velk::ValueDescriptor& value) override {
    if (value.baseType() == velk::kTypeText && !value.text.empty()) value.text = "<" + value.text + ">";
  }
  bool IsValueHidden(IXmlFileStorage*, std::string_view name) override { return name == "secret"; }
  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override {
    std::string name = nodeName(node);
    offered += name + " ";
    if (name == "drop") return true;
    if (name == "splice") stack.push(Ref<IXmlFileStorage>(node));
    return name == "splice";
  }
  std::string offered;
};

TEST(FilteredStorage, KeepsWhatTheFilterLeavesAndSplicesWhatItPushes) {
  auto root =
      parseTestXml(R"(<r a="1" secret="2" b="3"><x/><drop><y/></drop><splice><p/><drop/><q/></splice><z/></r>)");
  auto filter = velk::make<ProbeFilter>();
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), Ref<IStorageFilter>(filter));
  EXPECT_EQ(filter->offered, "x drop splice p drop q z ");
  EXPECT_EQ(dump(view.get()), "r a=<1> b=<3> { x, p, q, z }");
}

TEST(FilteredStorage, OperationsWorkOnTheKeptChildrenAndValues) {
  auto root = parseTestXml(R"(<r secret="s" k="v">text<a n="1"/><drop/><b/><a n="2"/></r>)");
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), velk::make<ProbeFilter>());
  uint32_t count = 0;
  ASSERT_EQ(view->GetNodesCount(&count), 0);
  EXPECT_EQ(count, 3u);
  char name[8];
  uint32_t size = sizeof name;
  ASSERT_EQ(view->GetNodeName(1, name, &size), 0);
  EXPECT_STREQ(name, "b");
  Ref<IXmlFileStorage> child;
  EXPECT_EQ(view->GetNode(3, child.put()), velk::errors::kNotFound);
  ASSERT_EQ(view->GetNode("a", child.put()), 0);
  EXPECT_EQ(dump(child.get()), "a n=<1>");
  EXPECT_EQ(view->GetNode("drop", child.put()), velk::errors::kNotFound);

  velk::ValueDescriptor value;
  value.type = velk::kTypeText;
  EXPECT_EQ(view->ReadValue("secret", value, 0), velk::errors::kNotFound);
  EXPECT_EQ(view->ReadValue("none", value, 0), velk::errors::kNotFound);
  ASSERT_EQ(view->ReadValue("k", value, 0), 0);
  EXPECT_EQ(value.text, "<v>");
  ASSERT_EQ(view->ReadValue("", value, 0), 0);
  EXPECT_EQ(value.text, "<text>");
  EXPECT_EQ(view->ReadValue(1, value, 0), velk::errors::kNotFound);
  EXPECT_EQ(view->CreateNode("new", child.put()), velk::errors::kNotImplemented);
}

TEST(FilteredStorage, FindsValuesByNameAmongMany) {
  std::string xml = "<r";
  for (int i = 0; i < 40; ++i) xml += " v" + std::to_string(i) + "=\"" + std::to_string(i * 2) + "\"";
  auto root = parseTestXml(xml + " secret=\"x\"/>");
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), velk::make<ProbeFilter>());
  std::string text;
  ASSERT_TRUE(readText(view.get(), "v37", text));
  EXPECT_EQ(text, "<74>");
  EXPECT_FALSE(readText(view.get(), "secret", text));
}

TEST(FilteredStorage, FiltersEachChildOnceHoweverOftenItIsOpened) {
  auto root = parseTestXml("<r><a><x/><y/></a></r>");
  auto filter = velk::make<ProbeFilter>();
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), Ref<IStorageFilter>(filter));
  Ref<IXmlFileStorage> first;
  Ref<IXmlFileStorage> second;
  ASSERT_EQ(view->GetNode(0u, first.put()), 0);
  ASSERT_EQ(view->GetNode("a", second.put()), 0);
  EXPECT_EQ(first, second);
  EXPECT_EQ(filter->offered, "a x y ");
}

TEST(FilteredStorage, ChildrenListedByIndexReadAsChildrenListedAsNodes) {
  std::string xml = "<r>";
  for (int i = 0; i < 40; ++i) xml += "<c" + std::to_string(i) + " n=\"" + std::to_string(i) + "\"/><drop/>";
  xml += "<splice><p/><q/></splice></r>";
  // A located storage over a parsed document: its children can be reopened.
  Ref<velk::IStorage> document;
  velk::XmlStorageFactory factory;
  ASSERT_EQ(factory.ParseIo(velk::make<xmltest::MemoryIo>(xml).get(), velk::kXmlReadOnlyOption, document.put(), nullptr),
            0);
  auto root = velk::make<XmlFileStorageAdapter>(document, velk::make<FileLocation>("a.xml"));
  ASSERT_TRUE(root->ReopensChildrenFreely());
  auto byNodes = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), velk::make<ProbeFilter>());
  auto byIndexes =
      velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), velk::make<ProbeFilter>(), ChildListing::kIndexes);
  EXPECT_EQ(dump(byIndexes.get()), dump(byNodes.get()));
  char name[8];
  uint32_t size = sizeof name;
  ASSERT_EQ(byIndexes->GetNodeName(33, name, &size), 0);
  EXPECT_STREQ(name, "c33");
  Ref<IXmlFileStorage> child;
  ASSERT_EQ(byIndexes->GetNode("c37", child.put()), 0);
  EXPECT_EQ(dump(child.get()), "c37 n=<37>");
  byIndexes->ForgetNode(25);
  EXPECT_EQ(byIndexes->GetNode(25u, child.put()), velk::errors::kInvalidState);
  ASSERT_EQ(byIndexes->GetNode(26u, child.put()), 0);
  EXPECT_EQ(dump(child.get()), "c26 n=<26>");
}

TEST(FilteredStorage, UnfilteredFormTakesValuesAndChildrenFromTwoSources) {
  auto values = parseTestXml(R"(<include file="f" secret="kept"/>)");
  auto children = parseTestXml("<root skipped=\"1\"><c1/><c2><d/></c2></root>");
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(values), Ref<IXmlFileStorage>(children));
  EXPECT_EQ(dump(view.get()), "include file=f secret=kept { c1, c2 { d } }");
  char name[4];
  uint32_t size = sizeof name;
  ASSERT_EQ(view->GetNodeName(1, name, &size), 0);
  EXPECT_STREQ(name, "c2");
}

TEST(FilteredStorage, ContainerHoldsAppendedChildren) {
  auto container = velk::make<FilteredStorage>();
  container->appendChild(Ref<IXmlFileStorage>(parseTestXml("<one/>")));
  container->appendChild(Ref<IXmlFileStorage>(parseTestXml("<two a=\"b\"/>")));
  uint32_t count = 0;
  container->GetNodesCount(&count);
  ASSERT_EQ(count, 2u);
  Ref<IXmlFileStorage> child;
  ASSERT_EQ(container->GetNode("two", child.put()), 0);
  EXPECT_EQ(dump(child.get()), "two a=b");
  uint32_t size = 0;
  EXPECT_EQ(container->GetName(nullptr, &size), velk::errors::kNotSupported);
  velk::ValueDescriptor text = velk::ValueDescriptor::ofText("stale");
  ASSERT_EQ(container->ReadValue("", text, 0), 0);
  EXPECT_EQ(text.text, "");
}

TEST(FilteredStorage, ChildrenKeepTheirLocations) {
  auto root = parseTestXml("<r>\n<a/>\n\n<b/></r>", "dir/f.xml");
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), velk::make<ProbeFilter>());
  Ref<IXmlFileStorage> b;
  ASSERT_EQ(view->GetNode("b", b.put()), 0);
  EXPECT_EQ(locationText(b->GetLocation()), "dir/f.xml(4)");
}

}  // namespace
}  // namespace app_core::helpers

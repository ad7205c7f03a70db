#include <gtest/gtest.h>

#include "schedule/values_free_storage_factory.h"
#include "test_node.h"
#include "xmlfile/node_names.h"

namespace app_core {
namespace {

using testing::parseTestXml;

velk::Ref<velk::IStorage> adapt(velk::IStorage* node) {
  velk::Ref<velk::IStorage> adapted;
  EXPECT_EQ(velk::make<velk::ValuesFreeStorageFactory>(nullptr)->CreateStorage(node, adapted.put()),
            velk::errors::kOk);
  return adapted;
}

std::vector<std::string> valueNames(velk::IStorage* node) {
  uint32_t count = 0;
  EXPECT_EQ(node->GetValuesCount(&count), velk::errors::kOk);
  std::vector<std::string> names(count);
  for (uint32_t i = 0; i < count; ++i) EXPECT_EQ(readValueName(node, i, names[i]), velk::errors::kOk);
  return names;
}

std::vector<std::string> nodeNames(velk::IStorage* node) {
  uint32_t count = 0;
  EXPECT_EQ(node->GetNodesCount(&count), velk::errors::kOk);
  std::vector<std::string> names(count);
  for (uint32_t i = 0; i < count; ++i) EXPECT_EQ(readChildName(node, i, names[i]), velk::errors::kOk);
  return names;
}

TEST(ValuesFreeStorage, PlainElementsAreValuesTheOthersNodes) {
  auto xml = parseTestXml(
      "<settings unique_id='7'><timeout>5</timeout><empty/><list><item>1</item></list>"
      "<flagged on='1'/><name>x</name></settings>");
  auto adapted = adapt(xml.get());
  EXPECT_EQ(valueNames(adapted.get()), (std::vector<std::string>{"unique_id", "timeout", "empty", "name"}));
  EXPECT_EQ(nodeNames(adapted.get()), (std::vector<std::string>{"list", "flagged"}));
  std::string text;
  EXPECT_EQ(readTextValue(adapted.get(), "name", text), velk::errors::kOk);
  EXPECT_EQ(text, "x");
  velk::ValueDescriptor number;
  number.type = velk::kTypeByRef | velk::kTypeUInt32;
  EXPECT_EQ(adapted->ReadValue(uint32_t(1), number, 0), velk::errors::kOk);
  EXPECT_EQ(number.bits, 5u);
  EXPECT_EQ(adapted->ReadValue("missing", number, 0), velk::errors::kNotFound);
  velk::Ref<velk::IStorage> list;
  ASSERT_EQ(adapted->GetNode(uint32_t(0), list.put()), velk::errors::kOk);
  EXPECT_EQ(valueNames(list.get()), (std::vector<std::string>{"item"}));
  velk::Ref<velk::IStorage> flagged;
  ASSERT_EQ(adapted->GetNode("flagged", flagged.put()), velk::errors::kOk);
  EXPECT_EQ(valueNames(flagged.get()), (std::vector<std::string>{"on"}));
  EXPECT_EQ(adapted->GetNode(uint32_t(2), list.put()), velk::errors::kInvalidIndex);
}

TEST(ValuesFreeStorage, RepeatedPlainElementsAreNodesKeepingTheirTexts) {
  auto xml = parseTestXml("<list entry='0'><entry>a</entry><single>s</single><entry>b</entry></list>");
  auto adapted = adapt(xml.get());
  // A name holds one value: a repeated element would lose all but one text.
  EXPECT_EQ(valueNames(adapted.get()), (std::vector<std::string>{"entry", "single"}));
  std::vector<std::string> texts(2);
  for (uint32_t i = 0; i < 2; ++i) EXPECT_EQ(readTextAt(adapted.get(), i, texts[i]), velk::errors::kOk);
  EXPECT_EQ(texts, (std::vector<std::string>{"0", "s"}));
  std::string text;
  EXPECT_EQ(readTextAt(adapted.get(), 2, text), velk::errors::kInvalidIndex);
  uint32_t count = 0;
  ASSERT_EQ(adapted->GetNodesCount(&count), velk::errors::kOk);
  ASSERT_EQ(count, 2u);
  for (uint32_t i = 0; i < 2; ++i) {
    velk::Ref<velk::IStorage> entry;
    ASSERT_EQ(adapted->GetNode(i, entry.put()), velk::errors::kOk);
    velk::ValueDescriptor own;
    own.type = velk::kTypeText;
    ASSERT_EQ(entry->ReadValue(std::string_view(), own, 0), velk::errors::kOk);
    EXPECT_EQ(own.text, i == 0 ? "a" : "b");
  }
}

TEST(ValuesFreeStorage, WritesGoToElementsExceptTheMarker) {
  auto xml = parseTestXml("<schedule/>");
  auto adapted = adapt(xml.get());
  ASSERT_EQ(adapted->WriteValue("unique_id", velk::ValueDescriptor::ofUInt32(3), 0), velk::errors::kOk);
  ASSERT_EQ(adapted->WriteValue("period", velk::ValueDescriptor::ofUInt32(60), 0), velk::errors::kOk);
  ASSERT_EQ(adapted->WriteValue("period", velk::ValueDescriptor::ofUInt32(61), 0), velk::errors::kOk);
  ASSERT_EQ(adapted->WriteValue("0001", velk::ValueDescriptor::ofText("first"), 0), velk::errors::kOk);
  ASSERT_EQ(xml->attributes.size(), 1u);
  EXPECT_EQ(xml->attributes[0], (std::pair<std::string, std::string>{"unique_id", "3"}));
  ASSERT_EQ(xml->children.size(), 2u);
  EXPECT_EQ(xml->children[0]->name, "period");
  EXPECT_EQ(xml->children[0]->text, "61");
  // A value name that cannot start an element lives in an "item" element.
  EXPECT_EQ(xml->children[1]->name, "item");
  EXPECT_EQ(valueNames(adapted.get()), (std::vector<std::string>{"unique_id", "period", "item"}));
  ASSERT_EQ(adapted->WriteValue("period", velk::ValueDescriptor::empty(), 0), velk::errors::kOk);
  EXPECT_EQ(xml->children.size(), 1u);
}

}  // namespace
}  // namespace app_core

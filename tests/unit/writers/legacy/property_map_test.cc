#include <gtest/gtest.h>

#include "quarn_test_support.h"
#include "writers/legacy/quarn_node_reading.h"
#include "writers/legacy/quarn_property_map.h"

namespace app_core {
namespace {

using quarntest::MemoryFile;

// Builds a map over a new document and saves it when done.
struct MapFixture {
  velk::Ref<MemoryFile> file = velk::make<MemoryFile>();
  std::unique_ptr<QuarnPropertyMap> map =
      std::make_unique<QuarnPropertyMap>(quarntest::newDocument(file.get()));

  std::string saved() {
    map.reset();
    return quarntest::savedText(*file);
  }
};

QuarnPropertyMap* open(QuarnPropertyMap& parent, std::string_view name) {
  QuarnPropertyMap* key = nullptr;
  EXPECT_EQ(parent.openKey(name, &key), velk::errors::kOk);
  return key;
}

TEST(QuarnPropertyMap, KeysAreFoundByNameOrAppended) {
  MapFixture f;
  QuarnPropertyMap* profiles = open(*f.map, "profiles");
  EXPECT_EQ(open(*f.map, "profiles"), profiles);
  QuarnPropertyMap* task = open(*profiles, "T");
  ASSERT_EQ(task->addValue(QuarnValue::dword("enabled", 1)), velk::errors::kOk);
  ASSERT_EQ(open(*profiles, "T")->addValue(QuarnValue::string("type", "a&b")), velk::errors::kOk);
  ASSERT_EQ(open(*f.map, "types")->addValue(QuarnValue::word("w", 7)), velk::errors::kOk);
  EXPECT_EQ(f.saved(),
            "<propertiesmap>\n"
            "    <key name=\"profiles\">\n"
            "        <key name=\"T\">\n"
            "            <tDWORD name=\"enabled\">1</tDWORD>\n"
            "            <tSTRING name=\"type\">a&amp;b</tSTRING>\n"
            "        </key>\n"
            "    </key>\n"
            "    <key name=\"types\">\n"
            "        <tWORD name=\"w\">7</tWORD>\n"
            "    </key>\n"
            "</propertiesmap>\n");
}

TEST(QuarnPropertyMap, AppendedKeysStandBesideEarlierOnesOfTheSameName) {
  MapFixture f;
  QuarnPropertyMap* first = nullptr;
  QuarnPropertyMap* second = nullptr;
  ASSERT_EQ(f.map->appendKey("list", &first), velk::errors::kOk);
  ASSERT_EQ(f.map->appendKey("list", &second), velk::errors::kOk);
  EXPECT_NE(first, second);
  EXPECT_EQ(open(*f.map, "list"), first);
  ASSERT_EQ(second->addValue(QuarnValue::boolean("b", true)), velk::errors::kOk);
  EXPECT_EQ(f.saved(),
            "<propertiesmap>\n"
            "    <key name=\"list\" />\n"
            "    <key name=\"list\">\n"
            "        <tBOOL name=\"b\">1</tBOOL>\n"
            "    </key>\n"
            "</propertiesmap>\n");
}

TEST(QuarnPropertyMap, LookupTakesTheFirstChildOfThatNameWhateverItsElement) {
  auto file = velk::make<MemoryFile>(
      "<propertiesmap><other/><tDWORD name=\"a\">1</tDWORD><key name=\"a\"/><key name=\"b\"><key "
      "name=\"c\"/></key>"
      "</propertiesmap>");
  {
    QuarnPropertyMap map(quarntest::parseDocument(file.get()));
    QuarnPropertyMap* a = open(map, "a");
    std::string element;
    ASSERT_EQ(quarn::childName(map.node(), 1, element), velk::errors::kOk);
    EXPECT_EQ(element, "tDWORD");
    ASSERT_EQ(a->addValue(QuarnValue::dword("x", 2)), velk::errors::kOk);
    ASSERT_EQ(open(*open(map, "b"), "c")->addValue(QuarnValue::dword("y", 3)), velk::errors::kOk);
  }
  EXPECT_EQ(quarntest::savedText(*file),
            "<propertiesmap>\n"
            "    <other />\n"
            "    <tDWORD name=\"a\">\n"
            "        1\n"
            "        <tDWORD name=\"x\">2</tDWORD>\n"
            "    </tDWORD>\n"
            "    <key name=\"a\" />\n"
            "    <key name=\"b\">\n"
            "        <key name=\"c\">\n"
            "            <tDWORD name=\"y\">3</tDWORD>\n"
            "        </key>\n"
            "    </key>\n"
            "</propertiesmap>\n");
}

TEST(QuarnPropertyMap, ValuesAppendedEarlierAreFoundByLaterLookups) {
  MapFixture f;
  ASSERT_EQ(f.map->addValue(QuarnValue::string("schedule", "s")), velk::errors::kOk);
  QuarnPropertyMap* key = open(*f.map, "schedule");
  ASSERT_EQ(key->addValue(QuarnValue::dword("n", 1)), velk::errors::kOk);
  EXPECT_EQ(f.saved(),
            "<propertiesmap>\n"
            "    <tSTRING name=\"schedule\">\n"
            "        s\n"
            "        <tDWORD name=\"n\">1</tDWORD>\n"
            "    </tSTRING>\n"
            "</propertiesmap>\n");
}

TEST(QuarnPropertyMap, CopiedContentKeepsElementsAttributesAndTexts) {
  auto source = quarntest::parseFragment(
      "<quarn_settings name=\"ignored\" mode=\"fast\">top<tDWORD name=\"n\">5</tDWORD>"
      "<key name=\"inner\"><tSTRING name=\"s\">x y</tSTRING><deep a=\"1\"><deeper/></deep></key>"
      "</quarn_settings>");
  MapFixture f;
  QuarnPropertyMap* settings = open(*f.map, "settings");
  ASSERT_EQ(settings->copyContent(source.get()), velk::errors::kOk);
  // The copied key is found by name like any other.
  ASSERT_EQ(open(*settings, "inner")->addValue(QuarnValue::dword("added", 1)), velk::errors::kOk);
  EXPECT_EQ(f.saved(),
            "<propertiesmap>\n"
            "    <key name=\"settings\" mode=\"fast\">\n"
            "        top\n"
            "        <tDWORD name=\"n\">5</tDWORD>\n"
            "        <key name=\"inner\">\n"
            "            <tSTRING name=\"s\">x y</tSTRING>\n"
            "            <deep a=\"1\">\n"
            "                <deeper />\n"
            "            </deep>\n"
            "            <tDWORD name=\"added\">1</tDWORD>\n"
            "        </key>\n"
            "    </key>\n"
            "</propertiesmap>\n");
}

TEST(QuarnPropertyMap, ManyKeysUnderOneNodeStayFast) {
  MapFixture f;
  QuarnPropertyMap* profiles = open(*f.map, "profiles");
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 20000; ++i)
      ASSERT_EQ(open(*profiles, "task" + std::to_string(i))->addValue(QuarnValue::dword("r", round)),
                velk::errors::kOk);
  uint32_t count = 0;
  ASSERT_EQ(profiles->node()->GetNodesCount(&count), velk::errors::kOk);
  EXPECT_EQ(count, 20000u);
}

}  // namespace
}  // namespace app_core

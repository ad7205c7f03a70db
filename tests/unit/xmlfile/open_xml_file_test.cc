#include "xmlfile/open_xml_file.h"

#include <gtest/gtest.h>

#include "recording_reporter.h"
#include "temp_directory.h"
#include "xmlfile/xml_file_storage_adapter.h"

namespace app_core::helpers {
namespace {

using velk::Ref;
using app_core::testing::includeChain;
using app_core::testing::RecordingReporter;
using app_core::testing::TempDirectory;

const char kIncluding[] =
    "<root>\n"       // 1
    "  <a/>\n"       // 2
    "\n"             // 3
    "  <b>\n"        // 4
    "    <c/>\n"     // 5
    "  </b>\n"       // 6
    "  <include/>\n"  // 7
    "</root>\n";

Ref<IXmlFileStorage> child(IXmlFileStorage* node, std::string_view name) {
  Ref<IXmlFileStorage> found;
  EXPECT_EQ(node->GetNode(name, found.put()), velk::errors::kOk) << name;
  return found;
}

class OpenXmlFileTest : public ::testing::Test {
 protected:
  TempDirectory dir;
  Ref<RecordingReporter> reporter = velk::make<RecordingReporter>();
};

TEST_F(OpenXmlFileTest, TopLevelFileAndItsChildrenCarryTheirLines) {
  std::string path = dir.write("a.xml", kIncluding);
  Ref<IXmlFileStorage> root = openXmlFile(path, reporter.get(), nullptr);
  ASSERT_TRUE(root);
  EXPECT_EQ(includeChain(root->GetLocation()), path + "(1)");
  Ref<IXmlFileStorage> c = child(child(root.get(), "b").get(), "c");
  EXPECT_EQ(includeChain(c->GetLocation()), path + "(5)");
  Ref<IXmlFileStorage> byIndex;
  ASSERT_EQ(root->GetNode(1u, byIndex.put()), velk::errors::kOk);
  EXPECT_EQ(byIndex->GetLocation()->GetLine(), 4u);
  EXPECT_TRUE(reporter->reports.empty());

  // Nodes made after parsing have no line.
  Ref<IXmlFileStorage> created;
  ASSERT_EQ(root->CreateNode("new", created.put()), velk::errors::kOk);
  EXPECT_EQ(created->GetLocation()->GetLine(), kNoLine);
  EXPECT_EQ(locationText(created->GetLocation()), path);
}

TEST_F(OpenXmlFileTest, IncludedFileChainsToTheIncludingNode) {
  std::string a = dir.write("a.xml", kIncluding);
  std::string b = dir.write("b.xml", "\n<inc>\n  <x/>\n</inc>");
  std::string c = dir.write("c.xml", "<deep/>");
  Ref<IXmlFileStorage> included;
  {
    Ref<IXmlFileStorage> root = openXmlFile(a, reporter.get(), nullptr);
    Ref<IXmlFileStorage> include = child(root.get(), "include");
    included = openXmlFile(b, reporter.get(), include.get());
  }
  ASSERT_TRUE(included);
  EXPECT_EQ(includeChain(included->GetLocation()), b + "(2) <- " + a + "(7)");
  Ref<IXmlFileStorage> x = child(included.get(), "x");
  EXPECT_EQ(includeChain(x->GetLocation()), b + "(3) <- " + a + "(7)");
  Ref<IXmlFileStorage> deeper = openXmlFile(c, reporter.get(), x.get());
  ASSERT_TRUE(deeper);
  included.reset();
  x.reset();
  // The chain outlives the storages that made it.
  EXPECT_EQ(includeChain(deeper->GetLocation()), c + "(1) <- " + b + "(3) <- " + a + "(7)");
  EXPECT_TRUE(reporter->reports.empty());
}

TEST_F(OpenXmlFileTest, UnopenableFilesAreReportedAndGiveNothing) {
  std::string missing = dir.path("missing.xml");
  EXPECT_FALSE(openXmlFile(missing, reporter.get(), nullptr));
  EXPECT_FALSE(openXmlFile(dir.path(""), reporter.get(), nullptr));
  ASSERT_EQ(reporter->reports.size(), 2u);
  EXPECT_EQ(reporter->reports[0].kind, "Error");
  EXPECT_EQ(reporter->reports[0].where, "");
  EXPECT_EQ(reporter->reports[0].text, "Error opening file \"" + missing + "\" (File not found)");
  EXPECT_EQ(reporter->reports[1].text, "Error opening file \"" + dir.path("") + "\" (Access denied)");
}

TEST_F(OpenXmlFileTest, UnparsableFilesAreReportedWithTheParserRow) {
  std::string bad = dir.write("bad.xml", "<root>\n  <a>\n  </b>\n</root>\n");
  std::string empty = dir.write("empty.xml", "");
  std::string binary = dir.write("bin.xml", "<root>\xFF\xFE</root>");
  EXPECT_FALSE(openXmlFile(bad, reporter.get(), nullptr));
  EXPECT_FALSE(openXmlFile(empty, reporter.get(), nullptr));
  EXPECT_FALSE(openXmlFile(binary, reporter.get(), nullptr));
  ASSERT_EQ(reporter->reports.size(), 3u);
  EXPECT_EQ(reporter->reports[0].text, "Error 'Error reading end tag.' parsing xml file: " + bad + "(3)");
  EXPECT_EQ(reporter->reports[0].where, "");
  EXPECT_EQ(reporter->reports[1].text, "Error 'Error document empty.' parsing xml file: " + empty + "(0)");
  EXPECT_EQ(reporter->reports[2].text, "Error 'Invalid UTF-8 sequence' parsing xml file: " + binary + "(1)");
}

TEST_F(OpenXmlFileTest, FailuresOfIncludedFilesStandAtTheIncludingNode) {
  std::string a = dir.write("a.xml", kIncluding);
  std::string bad = dir.write("bad.xml", "<x>");
  Ref<IXmlFileStorage> root = openXmlFile(a, reporter.get(), nullptr);
  Ref<IXmlFileStorage> include = child(root.get(), "include");
  EXPECT_FALSE(openXmlFile(bad, reporter.get(), include.get()));
  EXPECT_FALSE(openXmlFile(dir.path("none.xml"), reporter.get(), include.get()));
  ASSERT_EQ(reporter->reports.size(), 2u);
  EXPECT_EQ(reporter->reports[0].where, a + "(7)");
  EXPECT_EQ(reporter->reports[0].text.rfind("Error '", 0), 0u);
  EXPECT_EQ(reporter->reports[1].where, a + "(7)");
}

TEST_F(OpenXmlFileTest, TooDeepFilesAreRefused) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "<a>\n";
  std::string deep = dir.write("deep.xml", text);
  EXPECT_FALSE(openXmlFile(deep, reporter.get(), nullptr));
  ASSERT_EQ(reporter->reports.size(), 1u);
  EXPECT_EQ(reporter->reports[0].text,
            "Error 'Elements nested deeper than 1000 levels' parsing xml file: " + deep + "(1001)");
}

}  // namespace
}  // namespace app_core::helpers

#include <gtest/gtest.h>

#include "quarn_test_support.h"
#include "recording_reporter.h"
#include "writers/legacy/quarn_registry_printer.h"

namespace app_core {
namespace {

struct Printed {
  velk::result_t result;
  std::string text;
  std::vector<std::string> reports;
};

Printed print(const std::string& document, const std::string& path = "R") {
  auto reporter = velk::make<testing::RecordingReporter>();
  Printed printed;
  printed.text = "before\n";
  printed.result = QuarnRegistryPrinter(reporter.get())
                       .print(quarntest::parseFragment(document).get(), path, printed.text);
  printed.reports = reporter->lines();
  return printed;
}

TEST(QuarnRegistryPrinter, PrintsEveryKeyUnderItsPath) {
  Printed printed = print(
      "<propertiesmap><key name=\"profiles\"><key name=\"T\"><tDWORD name=\"enabled\">1</tDWORD></key></key>"
      "</propertiesmap>");
  EXPECT_EQ(printed.result, velk::errors::kOk);
  EXPECT_EQ(printed.text,
            "before\n"
            "[R]\n"
            "\n"
            "[R\\profiles]\n"
            "\n"
            "[R\\profiles\\T]\n"
            "\"enabled\"=dword:00000001\n"
            "\n");
  EXPECT_TRUE(printed.reports.empty());
}

TEST(QuarnRegistryPrinter, ValuesComeBeforeTheKeysBelowThemInDocumentOrder) {
  Printed printed = print(
      "<m><tDWORD name=\"top\">10</tDWORD><key name=\"a\"><key name=\"a1\"/><tWORD "
      "name=\"w\">65535</tWORD></key>"
      "<tBOOL name=\"late\">1</tBOOL><key name=\"b\"/></m>",
      "HKEY_LOCAL_MACHINE\\Software\\X");
  EXPECT_EQ(printed.text,
            "before\n"
            "[HKEY_LOCAL_MACHINE\\Software\\X]\n"
            "\"top\"=dword:0000000a\n"
            "\"late\"=dword:00000001\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\Software\\X\\a]\n"
            "\"w\"=dword:0000ffff\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\Software\\X\\a\\a1]\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\Software\\X\\b]\n"
            "\n");
}

TEST(QuarnRegistryPrinter, NumbersAreEightLowercaseHexDigitsOfTheirBitPattern) {
  Printed printed = print(
      "<m><tDWORD name=\"signed\">-2</tDWORD><tDWORD name=\"max\">4294967295</tDWORD>"
      "<tDWORD name=\"hex\">0xABC</tDWORD><tBOOL name=\"f\">0</tBOOL></m>");
  EXPECT_EQ(printed.text,
            "before\n[R]\n"
            "\"signed\"=dword:fffffffe\n"
            "\"max\"=dword:ffffffff\n"
            "\"hex\"=dword:00000abc\n"
            "\"f\"=dword:00000000\n"
            "\n");
}

TEST(QuarnRegistryPrinter, StringsAreQuotedAsTheyStand) {
  Printed printed = print("<m><tSTRING name=\"s\">a \"b\" \\c</tSTRING><tSTRING name=\"e\"/></m>");
  EXPECT_EQ(printed.text, "before\n[R]\n\"s\"=\"a \"b\" \\c\"\n\"e\"=\"\"\n\n");
}

TEST(QuarnRegistryPrinter, BinaryPairsAreJoinedByCommasKeepingTheirCase) {
  Printed printed = print("<m><tBINARY name=\"b\">0a1B</tBINARY><tBINARY name=\"none\"></tBINARY></m>");
  EXPECT_EQ(printed.result, velk::errors::kOk);
  EXPECT_EQ(printed.text, "before\n[R]\n\"b\"=hex:0a,1B\n\"none\"=hex:\n\n");
}

TEST(QuarnRegistryPrinter, OddBinaryTextStopsThePrinting) {
  Printed printed =
      print("<m><key name=\"k\"><tBINARY name=\"b\">0a1</tBINARY></key><key name=\"later\"/></m>");
  EXPECT_EQ(printed.result, velk::errors::kUnexpected);
  EXPECT_EQ(printed.reports, (std::vector<std::string>{"E -: tBINARY b size is odd."}));
  EXPECT_EQ(printed.text.find("later"), std::string::npos);
}

TEST(QuarnRegistryPrinter, ElementsWithoutRegistryFormStopThePrinting) {
  Printed printed = print("<m><tDWORD name=\"a\">1</tDWORD><tQWORD name=\"q\">1</tQWORD></m>");
  EXPECT_EQ(printed.result, velk::errors::kNotImplemented);
  EXPECT_EQ(
      printed.reports,
      (std::vector<std::string>{
          "E -: Can't convert tQWORD node to quarn config. Please, report this problem to HESK VORN team."}));
}

TEST(QuarnRegistryPrinter, NumberTextThatIsNoNumberFails) {
  Printed printed = print("<m><tDWORD name=\"a\">one</tDWORD></m>");
  EXPECT_EQ(printed.result, velk::errors::kInvalidArgument);
}

TEST(QuarnRegistryPrinter, DeeplyNestedKeys) {
  std::string path = "R";
  std::string expected = "before\n";
  auto root = quarntest::newDocument(nullptr);
  velk::Ref<velk::IStorage> node = root;
  for (int level = 0; level < 5000; ++level) {
    expected += "[" + path + "]\n\n";
    path += "\\k";
    velk::Ref<velk::IStorage> child;
    ASSERT_EQ(node->CreateNode("key", child.put()), velk::errors::kOk);
    ASSERT_EQ(child->WriteValue("name", velk::ValueDescriptor::ofText("k"), 0), velk::errors::kOk);
    node = child;
  }
  expected += "[" + path + "]\n\n";
  std::string text = "before\n";
  auto reporter = velk::make<testing::RecordingReporter>();
  ASSERT_EQ(QuarnRegistryPrinter(reporter.get()).print(root.get(), "R", text), velk::errors::kOk);
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace app_core

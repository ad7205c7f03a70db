// The limits a document's text is checked against before it is parsed.
#include <gtest/gtest.h>

#include <string>

#include "xmlfile/xml_input_check.h"

namespace {

using velk::xml::checkXmlInput;

std::string elementWithAttributes(size_t count, const std::string& extra = "") {
  std::string text = "<root>\n<e";
  for (size_t i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  return text + extra + "/>\n</root>";
}

TEST(InputLimits, AttributesUpToTheLimitAreAccepted) {
  velk::XmlParseError error;
  EXPECT_TRUE(checkXmlInput(elementWithAttributes(velk::xml::kMaxAttributes), error)) << error.description;
}

TEST(InputLimits, OneAttributeMoreIsRefusedAtItsElement) {
  velk::XmlParseError error;
  EXPECT_FALSE(checkXmlInput(elementWithAttributes(velk::xml::kMaxAttributes + 1), error));
  EXPECT_EQ(error.description, "Element with more than 1000 attributes");
  EXPECT_EQ(error.row, 2);
  EXPECT_EQ(error.column, 1);
}

TEST(InputLimits, EqualSignsInsideValuesAreNoAttributes) {
  velk::XmlParseError error;
  std::string extra = " quoted=\"a=b=c\" single='x=y'";
  EXPECT_TRUE(checkXmlInput(elementWithAttributes(velk::xml::kMaxAttributes - 2, extra), error))
      << error.description;
}

TEST(InputLimits, EqualSignsInTextAndCommentsAreNoAttributes) {
  std::string text = "<root>";
  for (int i = 0; i < 2000; ++i) text += "a=b ";
  text += "<!-- ";
  for (int i = 0; i < 2000; ++i) text += "c=d ";
  text += "--></root>";
  velk::XmlParseError error;
  EXPECT_TRUE(checkXmlInput(text, error)) << error.description;
}

// The parser ends "<?xml" (and any other "<?") at a ">", not at "?>": a
// declaration that lacks "?>" must not end the checks of what follows it.
TEST(InputLimits, DeclarationWithoutQuestionMarkEndsAtItsBracket) {
  std::string deep = "<?xml version=\"1.0\" -->\n";
  for (int i = 0; i <= velk::xml::kMaxNestingDepth; ++i) deep += "<e>";
  velk::XmlParseError error;
  EXPECT_FALSE(checkXmlInput(deep, error));
  EXPECT_EQ(error.description, "Elements nested deeper than 1000 levels");
  EXPECT_FALSE(checkXmlInput("<?xml version=\"1.0\">\n<root a=\"&#x;\"/>", error));
  EXPECT_EQ(error.description, "Malformed character reference at column 10");
  EXPECT_EQ(error.row, 2);
  EXPECT_TRUE(checkXmlInput("<?xml version=\"1.0\"?>\n<?pi a?>\n<root a=\"&#x41;\"/>", error)) << error.description;
}

}  // namespace

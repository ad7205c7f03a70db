#include <gtest/gtest.h>

#include <regex>

#include "front/config_number.h"
#include "velk/crc32.h"

namespace app_core {
namespace {

TEST(ConfigNumber, AcceptsDecimalHexadecimalAndOctal) {
  EXPECT_EQ(parseConfigNumber("16"), 16u);
  EXPECT_EQ(parseConfigNumber("0x10"), 16u);
  EXPECT_EQ(parseConfigNumber("0X1f"), 31u);
  EXPECT_EQ(parseConfigNumber("010"), 8u);
  EXPECT_EQ(parseConfigNumber("0"), 0u);
  EXPECT_EQ(parseConfigNumber("0xFFFFFFFF"), 0xFFFFFFFFu);
}

TEST(ConfigNumber, DoubledHexPrefixIsDroppedOnce) {
  EXPECT_EQ(parseConfigNumber("0x0x10"), 16u);
  EXPECT_EQ(parseConfigNumber("0x0x"), std::nullopt);  // four characters: kept, then rejected
  EXPECT_EQ(parseConfigNumber("0x0x0x1"), std::nullopt);
}

TEST(ConfigNumber, LeadingBlanksAndSignsAreAcceptedLikeStrtoul) {
  EXPECT_EQ(parseConfigNumber("  7"), 7u);
  EXPECT_EQ(parseConfigNumber("\t+7"), 7u);
  EXPECT_EQ(parseConfigNumber("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(parseConfigNumber("-2"), 0xFFFFFFFEu);
  EXPECT_EQ(parseConfigNumber("-0x10"), 0xFFFFFFF0u);
}

TEST(ConfigNumber, OutOfRangeSaturates) {
  EXPECT_EQ(parseConfigNumber("4294967296"), 0xFFFFFFFFu);
  EXPECT_EQ(parseConfigNumber("0x123456789"), 0xFFFFFFFFu);
  EXPECT_EQ(parseConfigNumber("-99999999999999999999"), 0xFFFFFFFFu);
}

TEST(ConfigNumber, RejectsLeftoversAndEmptyTexts) {
  for (const char* text : {"16 ", "", " ", "0x", "08", "abc", "1a", "+", "-", "0x10g", "1.5"})
    EXPECT_EQ(parseConfigNumber(text), std::nullopt) << "'" << text << "'";
}

// Every text of up to four characters over the characters that matter to
// the number form, and some longer ones.
std::vector<std::string> numberLikeTexts() {
  const std::string alphabet = "0178afgxX+- \t";
  std::vector<std::string> texts = {"", "0x0x10", "0x0xg", "0x0x 1", " 0x0x1", "0X0x1", "4294967296",
                                    "-99999999999999999999", "0x123456789", "\n\r7", "0x0x0x1"};
  std::vector<std::string> level = {""};
  for (int length = 1; length <= 4; ++length) {
    std::vector<std::string> next;
    for (const std::string& prefix : level)
      for (char c : alphabet) next.push_back(prefix + c);
    texts.insert(texts.end(), next.begin(), next.end());
    level = std::move(next);
  }
  return texts;
}

// The schema's pattern of the number form accepts exactly what the reader accepts.
TEST(ConfigNumber, SchemaPatternAcceptsWhatTheParserAccepts) {
  const std::regex pattern{std::string(kConfigNumberPattern)};
  for (const std::string& text : numberLikeTexts())
    EXPECT_EQ(std::regex_match(text, pattern), parseConfigNumber(text).has_value()) << "'" << text << "'";
}

TEST(Crc32, MatchesTheCommonChecksum) {
  EXPECT_EQ(velk::crc32("123456789"), 0xCBF43926u);
  EXPECT_EQ(velk::crc32(""), 0u);
  EXPECT_EQ(velk::crc32("a"), 0xE8B7BE43u);
  EXPECT_EQ(velk::crc32("app_core.facade.ITask"), 0x01DDE5D7u);
  // Bytes as written: no case folding.
  EXPECT_NE(velk::crc32("A"), velk::crc32("a"));
}

TEST(Crc32, RawRegisterCanBeChained) {
  uint32_t state = velk::crc32Update(0xFFFFFFFFu, "1234", 4);
  state = velk::crc32Update(state, "56789", 5);
  EXPECT_EQ(~state, 0xCBF43926u);
  EXPECT_EQ(velk::crc32Update(0, "", 0), 0u);
}

}  // namespace
}  // namespace app_core

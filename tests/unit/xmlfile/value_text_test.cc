#include "xmlfile/value_text.h"

#include <gtest/gtest.h>

#include <regex>

#include "xmlfile/utf8.h"
#include "xmlfile/xml_input_check.h"

namespace velk::xml {
namespace {

std::string textOf(const ValueDescriptor& value) {
  std::string text;
  EXPECT_EQ(valueToText(value, text), errors::kOk);
  return text;
}

TEST(ValueText, BooleansAndUnsignedNumbers) {
  EXPECT_EQ(textOf(ValueDescriptor::ofBool(true)), "1");
  EXPECT_EQ(textOf(ValueDescriptor::ofBool(false)), "0");
  EXPECT_EQ(textOf(ValueDescriptor::ofUInt8(255)), "255");
  EXPECT_EQ(textOf(ValueDescriptor::ofBits(kTypeUInt16, 0x1FFFF)), "65535");
  EXPECT_EQ(textOf(ValueDescriptor::ofUInt32(0)), "0");
  EXPECT_EQ(textOf(ValueDescriptor::ofUInt32(0xFFFFFFFF)), "4294967295");
}

TEST(ValueText, SignedNumbersAreSignExtendedTo32Bits) {
  EXPECT_EQ(textOf(ValueDescriptor::ofInt32(-2)), "4294967294");
  EXPECT_EQ(textOf(ValueDescriptor::ofInt32(-1)), "4294967295");
  EXPECT_EQ(textOf(ValueDescriptor::ofInt32(7)), "7");
  EXPECT_EQ(textOf(ValueDescriptor::ofBits(kTypeInt8, uint8_t(-1))), "4294967295");
  EXPECT_EQ(textOf(ValueDescriptor::ofBits(kTypeInt16, uint64_t(int64_t(-300)))), "4294966996");
}

TEST(ValueText, SixtyFourBitPatterns) {
  EXPECT_EQ(textOf(ValueDescriptor::ofInt64(-1)), "18446744073709551615");
  EXPECT_EQ(textOf(ValueDescriptor::ofUInt64(1ull << 40)), "1099511627776");
  EXPECT_EQ(textOf(ValueDescriptor::ofBits(kTypeLong64, 42)), "42");
}

TEST(ValueText, TextsBinaryAndByReference) {
  EXPECT_EQ(textOf(ValueDescriptor::ofText("a&b")), "a&b");
  EXPECT_EQ(textOf(ValueDescriptor::ofWideText(L"\u00e9\u4e2d\U0001F600")), "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(textOf(ValueDescriptor::ofBinary({0x0A, 0xFF})), "0AFF");
  EXPECT_EQ(textOf(ValueDescriptor::ofBinary({})), "");
  ValueDescriptor byRef = ValueDescriptor::ofInt32(-2);
  byRef.type |= kTypeByRef;
  EXPECT_EQ(textOf(byRef), "4294967294");
}

TEST(ValueText, TypesWithoutTextFormFail) {
  std::string text;
  EXPECT_EQ(valueToText(ValueDescriptor::ofBits(13, 0), text), errors::kUnspecified);
  EXPECT_EQ(valueToText(ValueDescriptor::ofBits(17, 0), text), errors::kUnspecified);
}

ValueDescriptor read(std::string_view text, uint32_t type) {
  ValueDescriptor value;
  value.type = type;
  EXPECT_EQ(textToValue(text, value), errors::kOk) << text;
  return value;
}

result_t readFails(std::string_view text, uint32_t type) {
  ValueDescriptor value;
  value.type = type;
  return textToValue(text, value);
}

TEST(ValueTextRead, NarrowAndWideText) {
  EXPECT_EQ(read("x y", kTypeText | kTypeByRef).text, "x y");
  EXPECT_EQ(read("\xC3\xA9", kTypeWideText | kTypeByRef).wideText, L"\u00e9");
  ValueDescriptor untyped = read("v", kTypeEmpty);
  EXPECT_EQ(untyped.type, kTypeText);
  EXPECT_EQ(untyped.text, "v");
}

TEST(ValueTextRead, NumbersInDecimalAndHexadecimal) {
  EXPECT_EQ(read("4294967295", kTypeUInt32 | kTypeByRef).bits, 0xFFFFFFFFu);
  EXPECT_EQ(read("0x1F", kTypeUInt32).bits, 31u);
  EXPECT_EQ(read("255", kTypeUInt8 | kTypeByRef).bits, 255u);
  EXPECT_EQ(readFails("256", kTypeUInt8), errors::kInvalidArgument);
  EXPECT_EQ(readFails("4294967296", kTypeUInt32), errors::kInvalidArgument);
  EXPECT_EQ(readFails("12a", kTypeUInt32), errors::kInvalidArgument);
  EXPECT_EQ(readFails("", kTypeUInt32), errors::kInvalidArgument);
  EXPECT_EQ(readFails(" 1", kTypeUInt32), errors::kInvalidArgument);
}

TEST(ValueTextRead, SignedNumbersReadBackTheirWrittenForm) {
  EXPECT_EQ(int32_t(read("4294967294", kTypeInt32).bits), -2);
  EXPECT_EQ(int32_t(read("-2", kTypeInt32).bits), -2);
  EXPECT_EQ(int64_t(read("4294967295", kTypeInt8).bits), -1);
  EXPECT_EQ(int64_t(read("-128", kTypeInt8).bits), -128);
  EXPECT_EQ(readFails("-129", kTypeInt8), errors::kInvalidArgument);
  EXPECT_EQ(int64_t(read("18446744073709551615", kTypeInt64).bits), -1);
}

TEST(ValueTextRead, BooleansBinaryAndDouble) {
  EXPECT_EQ(read("1", kTypeBool).bits, 1u);
  EXPECT_EQ(read("0", kTypeBool).bits, 0u);
  EXPECT_EQ(read("true", kTypeBool).bits, 1u);
  EXPECT_EQ(readFails("yes", kTypeBool), errors::kInvalidArgument);
  EXPECT_EQ(read("0AFF", kTypeBinary).bytes, (std::vector<uint8_t>{0x0A, 0xFF}));
  EXPECT_EQ(readFails("0AF", kTypeBinary), errors::kInvalidArgument);
  EXPECT_EQ(read("2.5", kTypeDouble).real, 2.5);
  EXPECT_EQ(textOf(read("2.5", kTypeDouble)), "2.5");
  EXPECT_EQ(readFails("x", 13), errors::kInvalidType);
}

// The schema's pattern of an unsigned type accepts exactly the texts the
// storage converts to it: all texts of up to three characters over the
// characters that matter, and the numbers around each limit.
TEST(ValueTextRead, UnsignedTextPatternAcceptsWhatTheConversionAccepts) {
  const std::string alphabet = "0129afgxX+- ";
  std::vector<std::string> texts;
  std::vector<std::string> level = {""};
  for (int length = 1; length <= 3; ++length) {
    std::vector<std::string> next;
    for (const std::string& prefix : level)
      for (char c : alphabet) next.push_back(prefix + c);
    texts.insert(texts.end(), next.begin(), next.end());
    level = std::move(next);
  }
  for (uint64_t limit : {0xFFull, 0xFFFFull, 0xFFFFFFFFull}) {
    for (uint64_t value : {limit - 1, limit, limit + 1, limit * 10, (limit + 1) / 10 * 9}) {
      char hex[32];
      snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(value));
      texts.push_back(std::to_string(value));
      texts.push_back("000" + std::to_string(value));
      texts.push_back(hex);
      texts.push_back(std::string("0X000") + (hex + 2));
    }
    // One digit of the limit raised or lowered, at each place.
    const std::string digits = std::to_string(limit);
    for (size_t i = 0; i < digits.size(); ++i) {
      for (int step : {-1, 1}) {
        std::string near = digits;
        near[i] = char(near[i] + step);
        if (near[i] >= '0' && near[i] <= '9') texts.push_back(near);
      }
    }
  }
  for (auto [width, type] : {std::pair{8, kTypeUInt8}, {16, kTypeUInt16}, {32, kTypeUInt32}}) {
    const std::regex pattern{unsignedTextPattern(width)};
    for (const std::string& text : texts) {
      ValueDescriptor value;
      value.type = type;
      EXPECT_EQ(std::regex_match(text, pattern), textToValue(text, value) == errors::kOk)
          << width << " bits: '" << text << "'";
    }
  }
}

TEST(Utf8, ValidPrefixAndReplacement) {
  EXPECT_EQ(validUtf8Length("ab\xC3\xA9"), 4u);
  EXPECT_EQ(validUtf8Length("ab\xC3"), 2u);          // truncated
  EXPECT_EQ(validUtf8Length("a\xC0\xAF"), 1u);       // overlong
  EXPECT_EQ(validUtf8Length("a\xED\xA0\x80"), 1u);   // surrogate
  EXPECT_EQ(validUtf8Length("a\xF4\x90\x80\x80"), 1u);  // above U+10FFFF
  EXPECT_EQ(fromUtf8("a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(toUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
  // Text is scanned eight bytes at a time: a fault is found at any offset.
  for (size_t at = 0; at < 20; ++at) {
    std::string text(23, 'a');
    text[at] = '\xFF';
    EXPECT_EQ(validUtf8Length(text), at);
    text[at] = '\x7F';
    EXPECT_TRUE(isXmlText(text));
    text[at] = '\x1F';
    EXPECT_FALSE(isXmlText(text));
    XmlParseError error;
    EXPECT_FALSE(checkXmlInput("<r>" + text + "</r>", error));
    EXPECT_EQ(error.column, int(at) + 4);
  }
}

}  // namespace
}  // namespace velk::xml

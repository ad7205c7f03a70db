#include "xmlfile/value_text.h"

#include <charconv>
#include <limits>
#include <optional>

#include "xmlfile/utf8.h"

namespace velk::xml {
namespace {

std::string decimal(uint64_t value) { return std::to_string(value); }

// Signed values are written as their sign-extended 32-bit pattern.
uint32_t signExtended32(uint64_t bits, int width) {
  switch (width) {
    case 8: return static_cast<uint32_t>(int32_t(int8_t(bits)));
    case 16: return static_cast<uint32_t>(int32_t(int16_t(bits)));
    default: return static_cast<uint32_t>(bits);
  }
}

std::string hexBytes(const std::vector<uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::string doubleText(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

// An unsigned decimal or "0x" hexadecimal number, nothing around it.
std::optional<uint64_t> parseUnsigned(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Signed text as a value of `width` bits: "-2", or the written pattern
// "4294967294" (sign-extended to 32 bits) of the same value.
std::optional<uint64_t> parseSigned(std::string_view text, int width) {
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  auto magnitude = parseUnsigned(text);
  if (!magnitude) return std::nullopt;
  if (width == 64) return negative ? uint64_t(0) - *magnitude : *magnitude;
  int64_t value;
  if (negative) {
    if (*magnitude > (uint64_t(1) << (width - 1))) return std::nullopt;
    value = -int64_t(*magnitude);
  } else {
    if (*magnitude > 0xFFFFFFFFull) return std::nullopt;
    value = int64_t(*magnitude);
    if (value >= (int64_t(1) << 31)) value -= int64_t(1) << 32;
    if (width < 32 && value >= (int64_t(1) << (width - 1)) && value < (int64_t(1) << width))
      value -= int64_t(1) << width;
  }
  if (value < -(int64_t(1) << (width - 1)) || value >= (int64_t(1) << (width - 1))) return std::nullopt;
  return static_cast<uint64_t>(value);
}

std::optional<uint64_t> parseUnsignedOfWidth(std::string_view text, int width) {
  auto value = parseUnsigned(text);
  if (!value || (width < 64 && *value >> width)) return std::nullopt;
  return value;
}

std::optional<uint64_t> parseBool(std::string_view text) {
  if (text == "true") return 1;
  if (text == "false") return 0;
  auto value = parseUnsigned(text);
  if (!value) return std::nullopt;
  return *value != 0 ? 1 : 0;
}

std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text) {
  if (text.size() % 2) return std::nullopt;
  std::vector<uint8_t> bytes(text.size() / 2);
  for (size_t i = 0; i < bytes.size(); ++i) {
    auto [end, ec] = std::from_chars(text.data() + 2 * i, text.data() + 2 * i + 2, bytes[i], 16);
    if (ec != std::errc() || end != text.data() + 2 * i + 2) return std::nullopt;
  }
  return bytes;
}

std::optional<double> parseDouble(std::string_view text) {
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<uint64_t> parseBits(std::string_view text, uint32_t type) {
  switch (type) {
    case kTypeBool: return parseBool(text);
    case kTypeInt8: return parseSigned(text, 8);
    case kTypeInt16: return parseSigned(text, 16);
    case kTypeInt32: return parseSigned(text, 32);
    case kTypeInt64: return parseSigned(text, 64);
    case kTypeUInt8: return parseUnsignedOfWidth(text, 8);
    case kTypeUInt16: return parseUnsignedOfWidth(text, 16);
    case kTypeUInt32: return parseUnsignedOfWidth(text, 32);
    default: return parseUnsignedOfWidth(text, 64);
  }
}

bool isIntegerType(uint32_t type) {
  return (type >= kTypeBool && type <= kTypeUInt64) || type == kTypeLong64;
}

// Decimal texts without leading zeros whose value is at most `max`: the
// shorter lengths whole, then, for each digit of `max`, the numbers that
// share its prefix and are smaller at that digit.
std::string decimalUpTo(uint64_t max) {
  const std::string digits = std::to_string(max);
  const size_t length = digits.size();
  std::string pattern = length > 1 ? "[0-9]" : "";
  for (size_t shorter = 2; shorter < length; ++shorter)
    pattern += "|[1-9][0-9]{" + std::to_string(shorter - 1) + "}";
  for (size_t i = 0; i < length; ++i) {
    char low = (i == 0 && length > 1) ? '1' : '0';
    if (digits[i] <= low) continue;
    pattern += pattern.empty() ? "" : "|";
    pattern += digits.substr(0, i) + "[" + low + "-" + char(digits[i] - 1) + "]";
    if (size_t rest = length - i - 1) pattern += "[0-9]{" + std::to_string(rest) + "}";
  }
  return pattern + (pattern.empty() ? "" : "|") + digits;
}

}  // namespace

std::string unsignedTextPattern(int width) {
  uint64_t max = (uint64_t(1) << width) - 1;
  return "0*(" + decimalUpTo(max) + ")|0[xX]0*[0-9a-fA-F]{1," + std::to_string(width / 4) + "}";
}

result_t valueToText(const ValueDescriptor& value, std::string& text) {
  switch (uint32_t type = value.baseType()) {
    case kTypeBool: text = value.bits ? "1" : "0"; return errors::kOk;
    case kTypeInt8: text = decimal(signExtended32(value.bits, 8)); return errors::kOk;
    case kTypeInt16: text = decimal(signExtended32(value.bits, 16)); return errors::kOk;
    case kTypeInt32: text = decimal(signExtended32(value.bits, 32)); return errors::kOk;
    case kTypeUInt8: text = decimal(uint8_t(value.bits)); return errors::kOk;
    case kTypeUInt16: text = decimal(uint16_t(value.bits)); return errors::kOk;
    case kTypeUInt32: text = decimal(uint32_t(value.bits)); return errors::kOk;
    case kTypeInt64:
    case kTypeUInt64:
    case kTypeLong64: text = decimal(value.bits); return errors::kOk;
    case kTypeDouble: text = doubleText(value.real); return text.empty() ? errors::kUnspecified : errors::kOk;
    case kTypeText: text = value.text; return errors::kOk;
    case kTypeWideText: text = toUtf8(value.wideText); return errors::kOk;
    case kTypeBinary: text = hexBytes(value.bytes); return errors::kOk;
    default: (void)type; return errors::kUnspecified;
  }
}

result_t textToValue(std::string_view text, ValueDescriptor& value) {
  uint32_t type = value.baseType();
  if (type == kTypeEmpty) value.type = type = kTypeText;
  if (type == kTypeText) {
    value.text.assign(text);
  } else if (type == kTypeWideText) {
    value.wideText = fromUtf8(text);
  } else if (type == kTypeBinary) {
    auto bytes = parseHexBytes(text);
    if (!bytes) return errors::kInvalidArgument;
    value.bytes = std::move(*bytes);
  } else if (type == kTypeDouble) {
    auto real = parseDouble(text);
    if (!real) return errors::kInvalidArgument;
    value.real = *real;
  } else if (isIntegerType(type)) {
    auto bits = parseBits(text, type);
    if (!bits) return errors::kInvalidArgument;
    value.bits = *bits;
  } else {
    return errors::kInvalidType;
  }
  return errors::kOk;
}

}  // namespace velk::xml

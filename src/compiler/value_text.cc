#include "compiler/value_text.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace velk {
namespace {

std::optional<uint64_t> parseUnsigned(std::string_view text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return std::nullopt;
    if (value > (UINT64_MAX - digit) / base) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

unsigned widthOf(uint32_t type) {
  switch (type) {
    case kTypeInt8: case kTypeUInt8: return 8;
    case kTypeInt16: case kTypeUInt16: return 16;
    case kTypeInt32: case kTypeUInt32: return 32;
    default: return 64;
  }
}

result_t parseUnsignedInto(std::string_view text, unsigned width, ValueDescriptor& value) {
  auto parsed = parseUnsigned(text);
  if (!parsed || (width < 64 && *parsed >> width)) return errors::kInvalidArgument;
  value.bits = *parsed;
  return errors::kOk;
}

// Signed values: "-n" within range, or the unsigned bit pattern of the width.
result_t parseSignedInto(std::string_view text, unsigned width, ValueDescriptor& value) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  auto parsed = parseUnsigned(text);
  if (!parsed) return errors::kInvalidArgument;
  uint64_t magnitude = *parsed;
  if (negative) {
    if (magnitude > (uint64_t(1) << (width - 1))) return errors::kInvalidArgument;
    value.bits = 0 - magnitude;
    return errors::kOk;
  }
  if (width < 64 && magnitude >> width) return errors::kInvalidArgument;
  uint64_t sign = uint64_t(1) << (width - 1);
  value.bits = (width < 64 && (magnitude & sign)) ? magnitude | ~((sign << 1) - 1) : magnitude;
  return errors::kOk;
}

result_t parseBool(std::string_view text, ValueDescriptor& value) {
  if (text == "1" || text == "true") value.bits = 1;
  else if (text == "0" || text == "false") value.bits = 0;
  else return errors::kInvalidArgument;
  return errors::kOk;
}

result_t parseDouble(std::string_view text, ValueDescriptor& value) {
  std::string copy(text);
  char* end = nullptr;
  value.real = std::strtod(copy.c_str(), &end);
  return (copy.empty() || *end) ? errors::kInvalidArgument : errors::kOk;
}

}  // namespace

result_t parseValueText(std::string_view text, ValueDescriptor& value) {
  uint32_t type = value.baseType();
  switch (type) {
    case kTypeText: value.text = std::string(text); return errors::kOk;
    case kTypeBool: return parseBool(text, value);
    case kTypeUInt8: case kTypeUInt16: case kTypeUInt32: case kTypeUInt64: case kTypeLong64:
      return parseUnsignedInto(text, widthOf(type), value);
    case kTypeInt8: case kTypeInt16: case kTypeInt32: case kTypeInt64:
      return parseSignedInto(text, widthOf(type), value);
    case kTypeDouble: return parseDouble(text, value);
    default: return errors::kNotSupported;
  }
}

}  // namespace velk

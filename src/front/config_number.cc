#include "front/config_number.h"

namespace app_core {
namespace {

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Picks the base of the digits at `pos` and skips a hexadecimal prefix.
unsigned detectBase(std::string_view text, size_t& pos) {
  if (pos < text.size() && text[pos] == '0') {
    bool hexPrefix = pos + 2 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
                     digitValue(text[pos + 2]) < 16;
    if (hexPrefix) {
      pos += 2;
      return 16;
    }
    return 8;
  }
  return 10;
}

}  // namespace

std::optional<uint32_t> parseConfigNumber(std::string_view text) {
  if (text.size() > 4 && text.substr(0, 4) == "0x0x") text.remove_prefix(2);
  size_t pos = 0;
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  unsigned base = detectBase(text, pos);
  size_t firstDigit = pos;
  uint64_t value = 0;
  bool overflow = false;
  for (; pos < text.size() && digitValue(text[pos]) < static_cast<int>(base); ++pos) {
    value = value * base + static_cast<unsigned>(digitValue(text[pos]));
    if (value > 0xFFFFFFFFu) {
      overflow = true;
      value = 0xFFFFFFFFu;
    }
  }
  // Nothing read, or something left over: not a number.
  if (pos == firstDigit || pos != text.size()) return std::nullopt;
  if (overflow) return 0xFFFFFFFFu;
  auto result = static_cast<uint32_t>(value);
  return negative ? static_cast<uint32_t>(0u - result) : result;
}

}  // namespace app_core

#include "xmlfile/utf8.h"

#include <cstdint>
#include <cstring>

namespace velk::xml {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Decodes one character at `at`; returns its length, or 0 when the bytes
// there are not well-formed.
size_t decodeOne(std::string_view text, size_t at, char32_t& out) {
  auto lead = static_cast<unsigned char>(text[at]);
  size_t length;
  char32_t min;
  if (lead < 0x80) {
    out = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, out = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, out = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, out = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    auto c = static_cast<unsigned char>(text[at + i]);
    if (!isContinuation(c)) return 0;
    out = (out << 6) | (c & 0x3F);
  }
  if (out < min || out > 0x10FFFF || (out >= 0xD800 && out <= 0xDFFF)) return 0;
  return length;
}

void appendUtf8(std::string& text, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

size_t asciiRunEnd(std::string_view text, size_t at) {
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  uint64_t word;
  for (; text.size() - at >= sizeof word; at += sizeof word) {
    std::memcpy(&word, text.data() + at, sizeof word);
    if (word & kHighBits) break;
  }
  return at;
}

size_t validUtf8Length(std::string_view text) {
  size_t at = 0;
  char32_t c;
  while ((at = asciiRunEnd(text, at)) < text.size()) {
    size_t length = decodeOne(text, at, c);
    if (length == 0) break;
    at += length;
  }
  return at;
}

std::string toUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) appendUtf8(out, static_cast<char32_t>(static_cast<uint32_t>(c)));
  return out;
}

std::wstring fromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    char32_t c;
    size_t length = decodeOne(text, at, c);
    out += static_cast<wchar_t>(length ? c : kReplacement);
    at += length ? length : 1;
  }
  return out;
}

}  // namespace velk::xml

#include "preprocessor/utf8_text.h"

#include <cstdint>
#include <typeinfo>

namespace app_core::helpers {

namespace {

// Length of the sequence led by `lead` and the bits the lead contributes.
bool sequenceStart(unsigned char lead, size_t& length, char32_t& bits) {
  if (lead < 0x80) { length = 1; bits = lead; return true; }
  if ((lead & 0xE0) == 0xC0) { length = 2; bits = lead & 0x1F; return true; }
  if ((lead & 0xF0) == 0xE0) { length = 3; bits = lead & 0x0F; return true; }
  if ((lead & 0xF8) == 0xF0) { length = 4; bits = lead & 0x07; return true; }
  return false;
}

bool wellFormed(char32_t code, size_t length) {
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || code > 0x10FFFF) return false;
  return code < 0xD800 || code > 0xDFFF;
}

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::wstring wideFromUtf8(std::string_view text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    size_t length = 0;
    char32_t code = 0;
    if (!sequenceStart(static_cast<unsigned char>(text[i]), length, code) || i + length > text.size())
      throw std::bad_cast();
    for (size_t k = 1; k < length; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) throw std::bad_cast();
      code = (code << 6) | (next & 0x3F);
    }
    if (!wellFormed(code, length)) throw std::bad_cast();
    wide += static_cast<wchar_t>(code);
    i += length;
  }
  return wide;
}

std::string utf8FromWide(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) appendUtf8(out, static_cast<char32_t>(c) <= 0x10FFFF ? static_cast<char32_t>(c) : 0xFFFD);
  return out;
}

}  // namespace app_core::helpers

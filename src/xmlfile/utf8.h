// UTF-8 checks and conversions between UTF-8 and wide text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velk::xml {

// Length of the longest prefix of `text` that is well-formed UTF-8
// (no overlong forms, no surrogates, nothing above U+10FFFF).
size_t validUtf8Length(std::string_view text);

// Decodes the character at `at` into `out`; gives its length, or 0 when the
// bytes there are not well-formed UTF-8.
size_t decodeUtf8(std::string_view text, size_t at, char32_t& out);

// Sequences that cannot be converted become U+FFFD.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

}  // namespace velk::xml

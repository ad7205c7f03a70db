// UTF-8 checks and conversions between UTF-8 and wide text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velk::xml {

// Length of the longest prefix of `text` that is well-formed UTF-8
// (no overlong forms, no surrogates, nothing above U+10FFFF).
size_t validUtf8Length(std::string_view text);

// Sequences that cannot be converted become U+FFFD.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

}  // namespace velk::xml

// UTF-8 checks and conversions between UTF-8 and wide text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velk::xml {

// Length of the longest prefix of `text` that is well-formed UTF-8
// (no overlong forms, no surrogates, nothing above U+10FFFF).
size_t validUtf8Length(std::string_view text);

// A position at or before the end of the run of ASCII bytes from `at`: the
// run is skipped eight bytes at a time (most text is ASCII), which leaves
// its last few bytes to the caller.
size_t asciiRunEnd(std::string_view text, size_t at);

// Sequences that cannot be converted become U+FFFD.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

}  // namespace velk::xml

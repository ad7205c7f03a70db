// The number form of configuration attributes ("uint32_t").
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace app_core {

// Reads `text` the way a 32-bit strtoul with base 0 does (leading blanks, a
// sign, "0x"/"0X" hexadecimal, leading-zero octal, saturation to 0xFFFFFFFF)
// and requires the whole text to be consumed. A text longer than four
// characters that starts with "0x0x" loses its first two characters first.
// Empty when the text is rejected.
std::optional<uint32_t> parseConfigNumber(std::string_view text);

// The texts parseConfigNumber accepts, as an XML Schema regular expression
// (XML attribute values hold no vertical tab or form feed blanks).
constexpr std::string_view kConfigNumberPattern =
    "[ \\t\\n\\r]*[+\\-]?(0[xX][0-9a-fA-F]+|0[0-7]*|[1-9][0-9]*)|0x0x[0-9a-fA-F]+";

}  // namespace app_core

// Conversions between UTF-8 text and wide text.
#pragma once

#include <string>
#include <string_view>

namespace app_core::helpers {

// Throws std::bad_cast when `text` is not valid UTF-8.
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

}  // namespace app_core::helpers

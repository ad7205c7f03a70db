// Conversion of stored value texts to typed values.
#pragma once

#include <string_view>

#include "velk/storage.h"

namespace velk {

// Converts `text` to the type named by `value.type` (by-reference codes
// accepted). Integers are decimal or "0x"-prefixed hexadecimal and must fit
// the type; signed types also take the unsigned bit pattern; booleans are
// "1"/"true" or "0"/"false". Anything else gives kInvalidArgument; types
// without a text form give kNotSupported.
result_t parseValueText(std::string_view text, ValueDescriptor& value);

}  // namespace velk

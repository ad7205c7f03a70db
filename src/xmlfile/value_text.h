// The text form of typed values in XML documents: how a value descriptor
// becomes attribute or element text, and how stored text is read back as a
// requested type.
#pragma once

#include <string>
#include <string_view>

#include "velk/storage.h"

namespace velk::xml {

// Fails with kUnspecified for types that have no text form.
result_t valueToText(const ValueDescriptor& value, std::string& text);

// Converts stored text to `value.type` (narrow text when the type is empty,
// and the type is set accordingly). Text that is not a valid form of the
// type gives kInvalidArgument; a type without a text form kInvalidType.
result_t textToValue(std::string_view text, ValueDescriptor& value);

// The texts textToValue accepts for an unsigned type of `width` bits (8, 16
// or 32), as an XML Schema regular expression: decimal or "0x" hexadecimal,
// leading zeros allowed, no larger than the type holds.
std::string unsignedTextPattern(int width);

}  // namespace velk::xml

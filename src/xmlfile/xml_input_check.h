// Checks run on a document's text before it is parsed, for what the parser
// does not catch itself: text that is not UTF-8, zero bytes, and nesting so
// deep that the recursive parser and printer would run out of stack.
#pragma once

#include <string_view>

#include "xmlfile/xml_parse_error.h"

namespace velk::xml {

// Documents nested deeper than this many elements are refused.
constexpr int kMaxNestingDepth = 1000;

// False, with the reason and position in `error`, when the text is refused.
bool checkXmlInput(std::string_view text, XmlParseError& error);

}  // namespace velk::xml

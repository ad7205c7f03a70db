// Checks run on a document's text before it is parsed, for what the parser
// does not catch itself: text that is not UTF-8, zero bytes and other
// characters XML does not allow, nesting so deep that the recursive parser
// and printer would run out of stack, elements with so many attributes that
// handling them takes forever, and what the parser would take while
// changing the data: an "&" that starts no reference, a reference to a
// character XML does not allow, a document type declaration.
#pragma once

#include <cstddef>
#include <string_view>

#include "xmlfile/xml_parse_error.h"

namespace velk::xml {

// Documents nested deeper than this many elements are refused.
constexpr int kMaxNestingDepth = 1000;
// So are elements with more attributes than this: the parser and the
// storage look attributes up one by one, so their cost grows with the
// square of an element's attribute count.
constexpr size_t kMaxAttributes = 1000;

// True for UTF-8 text of characters XML allows, all of which a document
// can hold and print.
bool isXmlText(std::string_view text);

// False, with the reason and position in `error`, when the text is refused.
bool checkXmlInput(std::string_view text, XmlParseError& error);

}  // namespace velk::xml

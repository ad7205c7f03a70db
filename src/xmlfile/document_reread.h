// What storing a document and reading it back does to its content. The
// stored form is printed with TinyXML and parsed again when the key is next
// opened; the parser collapses runs of blanks in element texts and drops
// texts that are blank, so a tree read back is not always the tree stored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app_core {

// The text an element has after a store and a read: "" when the text would
// be dropped, none when the document could not be read back at all.
std::optional<std::string> rereadText(const std::string& text);

// Whether an attribute value reads back unchanged.
bool rereadKeepsAttribute(const std::string& value);

// Whether the tree parsed from `document` reads back as itself once stored,
// and can be read back at all.
bool rereadKeepsDocument(std::string_view document);

}  // namespace app_core

// How node and value names become XML element and attribute names.
//
// Allowed characters are ASCII letters and digits, "_", "-", ".", ":" and
// every byte from 0x80 up. A name that does not begin with a letter (also the
// empty name of a node) is stored with "item_" in front of it.
//
// Names are read back as stored: the prefix is not removed, because "item_1"
// may as well be a name that was written that way. Lookups by name map the
// asked name the same way, so "1" and "item_1" both find the element
// "item_1".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velk::xml {

// The stored form of a name being written; throws
// wrappers::XmlStorageException "Invalid character in xml tag name".
std::string storedName(std::string_view name);

// The stored form of a name being looked up; none when no element or
// attribute can carry it.
std::optional<std::string> lookupName(std::string_view name);

}  // namespace velk::xml

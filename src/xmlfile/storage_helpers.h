// Reading storage nodes where a failure ends the operation: failures are
// raised as exceptions that name the node and, when known, its row and
// column.
#pragma once

#include <string>
#include <string_view>

#include "velk/storage.h"

namespace velk::helpers {

// Reads the value `name` as text; false when the node has no such value.
// Other failures throw wrappers::XmlStorageException
// "<name> at node <node> (row R, column C)".
bool readText(IStorage* node, std::string_view name, std::string& text);
bool readText(IStorage* node, std::string_view name, std::wstring& text);

// The node's name; a failure throws CheckResultFailedException.
std::string nodeName(IStorage* node);

// The number of values of a node and the name of one of them; failures
// throw wrappers::XmlStorageException.
uint32_t valuesCount(IStorage* node);
std::string valueName(IStorage* node, uint32_t index);

}  // namespace velk::helpers

// Reading names and values of storage nodes as text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "velk/storage.h"

namespace app_core::helpers {

std::string nodeName(velk::IStorage* node);
uint32_t valuesCount(velk::IStorage* node);
std::string valueName(velk::IStorage* node, uint32_t index);
// False when the value is absent.
bool readText(velk::IStorage* node, std::string_view name, std::string& text);
// As readText, but an absent value raises XmlStorageException naming the
// value, the node and, when known, its row and column.
std::string requireText(velk::IStorage* node, std::string_view name);

}  // namespace app_core::helpers

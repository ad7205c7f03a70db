// Result-returning reads of node and value names and of values as text or
// numbers: the size protocol of velk::IStorage hidden behind std::string.
// Every other way of reading names (the throwing helpers, the quarn writers,
// the exchange file) is built on these.
#pragma once

#include <string>

#include "velk/storage.h"

namespace app_core {

velk::result_t readNodeName(velk::IStorage* node, std::string& name);
velk::result_t readChildName(velk::IStorage* node, uint32_t index, std::string& name);
velk::result_t readValueName(velk::IStorage* node, uint32_t index, std::string& name);

// Reads a value as narrow text.
velk::result_t readTextValue(velk::IStorage* node, std::string_view name, std::string& text);

}  // namespace app_core

namespace app_core {

// Reads the value at `index` as narrow text.
velk::result_t readTextAt(velk::IStorage* node, uint32_t index, std::string& text);
// Reads the value at `index` converted by the storage to `type`; `bits`
// receives the number.
velk::result_t readNumberAt(velk::IStorage* node, uint32_t index, uint32_t type, uint64_t& bits);

}  // namespace app_core

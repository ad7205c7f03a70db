// Reading storage nodes for the quarn writers, where every failure is a
// result code that ends the write.
#pragma once

#include <string>
#include <string_view>

#include "velk/storage.h"

namespace app_core::quarn {

velk::result_t childCount(velk::IStorage* node, uint32_t& count);
velk::result_t childName(velk::IStorage* node, uint32_t index, std::string& name);
velk::result_t valueCount(velk::IStorage* node, uint32_t& count);
velk::result_t valueName(velk::IStorage* node, uint32_t index, std::string& name);
// Values read as narrow text; a missing named value gives kNotFound.
velk::result_t textOf(velk::IStorage* node, std::string_view name, std::string& text);
velk::result_t textOf(velk::IStorage* node, uint32_t index, std::string& text);
// The "name" attribute, or empty when the node has none.
velk::result_t nameAttribute(velk::IStorage* node, std::string& name);

}  // namespace app_core::quarn

// The small node operations the database writers repeat: children opened or
// created, and values of the kinds the stored trees use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "velk/storage.h"

namespace app_core {

// The first child named `name`, created when there is none.
velk::result_t openOrCreateChild(velk::IStorage* parent, std::string_view name, velk::Ref<velk::IStorage>& child);
// Always a new child, appended after the existing ones.
velk::result_t createChild(velk::IStorage* parent, std::string_view name, velk::Ref<velk::IStorage>& child);
// A new child whose own value is `text`.
velk::result_t createTextChild(velk::IStorage* parent, std::string_view name, std::string text);

velk::result_t writeText(velk::IStorage* node, std::string_view name, std::string text);
velk::result_t writeUnsigned(velk::IStorage* node, std::string_view name, uint32_t value);
velk::result_t writeSigned(velk::IStorage* node, std::string_view name, int32_t value);

// For a finished part of a large tree that nothing reads again: held as its
// printed text from now on where the storage can (IKeepAsPrinted), left as
// it is elsewhere. The stored document is the same either way.
void keepAsPrinted(velk::IStorage* node);

// The own value of `node` as text; "" when it has none.
velk::result_t readOwnText(velk::IStorage* node, std::string& text);

}  // namespace app_core

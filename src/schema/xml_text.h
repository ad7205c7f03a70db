// Escaping for the XML the schema writers produce.
#pragma once

#include <string>
#include <string_view>

namespace app_core::schema {

// `text` with &, <, > and " written as references, for text and attribute values.
std::string escaped(std::string_view text);

}  // namespace app_core::schema

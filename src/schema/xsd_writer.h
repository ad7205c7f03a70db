// Writes the configuration language as an XML Schema (1.0).
#pragma once

#include <string>

#include "schema/element_shape.h"

namespace app_core::schema {

// The name the schema gives the root element; the reader itself does not
// look at the root's name, but an XML Schema can only start from a name.
extern const char* const kXsdRootName;

// The schema of the language whose reader tables `root` holds.
std::string writeXsd(const ElementShape& root);

}  // namespace app_core::schema

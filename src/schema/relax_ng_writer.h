// Writes the configuration language as a RELAX NG grammar (XML syntax).
#pragma once

#include <string>

#include "schema/element_shape.h"

namespace app_core::schema {

// The grammar of the language whose reader tables `root` holds. Unlike the
// XML Schema, it leaves the root element's name free, as the reader does.
std::string writeRelaxNg(const ElementShape& root);

}  // namespace app_core::schema

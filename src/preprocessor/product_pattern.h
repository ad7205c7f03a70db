#pragma once

#include <string_view>

namespace app_core::helpers {

// A "product" attribute matches when it lists the product among names
// separated by ";", or, written "!(" list ")", when the list does not.
// Names compare exactly; an empty list matches nothing.
bool matchesProductPattern(std::string_view pattern, std::string_view product);

}  // namespace app_core::helpers

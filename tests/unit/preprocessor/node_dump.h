// A view as one line of text, to compare what filters show.
#pragma once

#include <string>

#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers::test {

// Copies a view into text: name, values in order, text, children; the way a
// reader would walk it, opening each child once.
std::string dump(IXmlFileStorage* node);

}  // namespace app_core::helpers::test

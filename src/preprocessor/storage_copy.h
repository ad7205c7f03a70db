// Copies a node tree from one storage into another.
#pragma once

#include "velk/storage.h"

namespace app_core::helpers {

// Appends copies of the children of `source` to `destination` and writes the
// values and the text of `source` into it, recursively. Reading goes through
// whatever view `source` is, so a filtered source is filtered as it is
// copied. A failing step raises CheckResultFailedException.
void copyStorage(velk::IStorage* source, velk::IStorage* destination);

}  // namespace app_core::helpers

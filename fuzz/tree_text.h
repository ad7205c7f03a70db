// A node tree as one text, for comparing trees that went different ways:
// names, values in order, text and children, with lengths in front of every
// piece so that no content can pass for structure.
#pragma once

#include <string>

#include "velk/storage.h"

namespace hesk_fuzz {

// Throws what the storage's reads throw.
std::string treeText(velk::IStorage* node);

}  // namespace hesk_fuzz

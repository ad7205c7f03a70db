// The preprocessor's part of the language: the elements its filters consume
// wherever they stand and the condition attributes every element may carry.
// The filters read these names directly, so they are listed here for the
// schema, in the filters' terms.
#pragma once

#include <string>
#include <vector>

#include "schema/element_shape.h"

namespace app_core::schema {

enum class PreprocessorContent {
  kEmpty,
  kText,
  // Anything: a macro body, or the ignored content of an include.
  kAny,
};

struct PreprocessorElement {
  std::string name;
  std::string documentation;
  std::vector<AttributeShape> attributes;
  PreprocessorContent content;
};

// include, define, undef and message; a block takes the content of the
// element it stands in, so the writers build it per content.
const std::vector<PreprocessorElement>& preprocessorElements();

// product, ifdef and ifndef: invisible to the reader, allowed everywhere.
const std::vector<AttributeShape>& conditionAttributes();

// The text of a block's documentation.
extern const char* const kBlockDocumentation;

}  // namespace app_core::schema

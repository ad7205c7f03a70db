#include "schema/preprocessor_elements.h"

namespace app_core::schema {
namespace {

AttributeShape text(std::string name, bool optional, std::string grammar) {
  return {std::move(name), optional, std::move(grammar), {}, {}, {}};
}

}  // namespace

const char* const kBlockDocumentation =
    "Groups elements without adding a level: its children stand in its place; its own attributes are dropped.";

const std::vector<PreprocessorElement>& preprocessorElements() {
  static const std::vector<PreprocessorElement> elements = {
      {"include",
       "Replaced by the children of the root element of the file named by 'file' (relative to this file), "
       "or by the body of the macro named by 'macro'.",
       {text("file", true, "path of an XML file"), text("macro", true, "name of a define with a body")},
       PreprocessorContent::kAny},
      {"define",
       "Defines a name for ${NAME} references in later values; its children, if any, are a macro body "
       "for <include macro=\"NAME\"/>.",
       {text("name", false, "definition name"), text("value", false, "string8_t")},
       PreprocessorContent::kAny},
      {"undef", "Removes a definition.", {text("name", false, "definition name")}, PreprocessorContent::kEmpty},
      {"message",
       "Reports its text as an error, a warning or information, at its own file and line.",
       {{"kind", false, "'error' | 'warning' | 'info'", {"error", "warning", "info"}, {}, {}}},
       PreprocessorContent::kText},
  };
  return elements;
}

const std::vector<AttributeShape>& conditionAttributes() {
  static const std::vector<AttributeShape> attributes = {
      text("product", true, "product names separated by ';', or '!(' names ')'"),
      text("ifdef", true, "definition name: the element is skipped unless it is defined"),
      text("ifndef", true, "definition name: the element is skipped when it is defined"),
  };
  return attributes;
}

}  // namespace app_core::schema

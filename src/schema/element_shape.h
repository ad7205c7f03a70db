// The configuration language as the reader's tables describe it: for each
// element, the attributes it reads and the children it dispatches.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app_core::schema {

struct AttributeShape {
  std::string name;
  bool optional = false;
  // The accepted form as messages show it ("uint32_t").
  std::string grammar;
  // The accepted texts: these keywords, and the texts matching `otherTexts`
  // (an XML Schema regular expression); with neither, any text.
  std::vector<std::string> keywords;
  std::string otherTexts;
  // The reader's warning when the attribute is used; empty when not deprecated.
  std::string deprecationWarning;

  bool operator==(const AttributeShape&) const = default;
};

struct ElementShape {
  std::string name;
  // Absent when the reader does not look at the element's attributes
  // (children): anything passes there.
  std::optional<std::vector<AttributeShape>> attributes;
  std::optional<std::vector<ElementShape>> children;

  bool operator==(const ElementShape&) const = default;
};

}  // namespace app_core::schema

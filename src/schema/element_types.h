// Names for the element shapes of a walk, shared by the schema writers: an
// element's own name when that name has one shape, else the name of the type
// it first stands in, a dot and its name.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "schema/element_shape.h"

namespace app_core::schema {

class ElementTypes {
 public:
  struct Entry {
    std::string typeName;
    const ElementShape* shape;
    // The names of the elements it stands in, each once ("" for the root).
    std::vector<std::string> parents;
  };

  // `root` is named `rootName`; the shapes below it in breadth-first order.
  ElementTypes(const ElementShape& root, const std::string& rootName);

  // Each distinct shape once, the root first.
  const std::vector<Entry>& entries() const { return entries_; }
  const std::string& typeOf(const ElementShape& shape) const;
  // "Stands in: a, b." for the elements a type's element stands in.
  std::string placeOf(const std::string& typeName) const;

 private:
  std::vector<Entry> entries_;
  std::map<const ElementShape*, std::string> names_;
  std::map<std::string, size_t> entryOfType_;
};

}  // namespace app_core::schema

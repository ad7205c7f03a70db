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
  };

  // `root` is named `rootName`; the shapes below it in breadth-first order.
  ElementTypes(const ElementShape& root, const std::string& rootName);

  // Each distinct shape once, the root first.
  const std::vector<Entry>& entries() const { return entries_; }
  const std::string& typeOf(const ElementShape& shape) const;

 private:
  std::vector<Entry> entries_;
  std::map<const ElementShape*, std::string> names_;
};

}  // namespace app_core::schema

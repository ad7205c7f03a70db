#include "schema/element_types.h"

#include <deque>
#include <set>

namespace app_core::schema {

ElementTypes::ElementTypes(const ElementShape& root, const std::string& rootName) {
  std::set<std::string> taken;
  std::deque<const ElementShape*> queue{&root};
  names_[&root] = rootName;
  entries_.push_back({rootName, &root});
  taken.insert(rootName);
  while (!queue.empty()) {
    const ElementShape* parent = queue.front();
    queue.pop_front();
    if (!parent->children) continue;
    for (const ElementShape& child : *parent->children) {
      const std::string* known = nullptr;
      for (const Entry& entry : entries_)
        if (*entry.shape == child) known = &entry.typeName;
      if (known) {
        names_[&child] = *known;
        continue;
      }
      std::string name = child.name;
      if (taken.count(name)) name = names_[parent] + "." + child.name;
      for (int n = 2; taken.count(name); ++n) name = names_[parent] + "." + child.name + std::to_string(n);
      taken.insert(name);
      names_[&child] = name;
      entries_.push_back({name, &child});
      queue.push_back(&child);
    }
  }
}

const std::string& ElementTypes::typeOf(const ElementShape& shape) const { return names_.at(&shape); }

}  // namespace app_core::schema

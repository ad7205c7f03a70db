#include "schema/element_types.h"

#include <algorithm>
#include <deque>
#include <set>

namespace app_core::schema {

ElementTypes::ElementTypes(const ElementShape& root, const std::string& rootName) {
  std::set<std::string> taken;
  std::deque<const ElementShape*> queue{&root};
  names_[&root] = rootName;
  entries_.push_back({rootName, &root, {}});
  entryOfType_[rootName] = 0;
  taken.insert(rootName);
  while (!queue.empty()) {
    const ElementShape* parent = queue.front();
    queue.pop_front();
    if (!parent->children) continue;
    const std::string parentName = parent == &root ? "" : parent->name;
    for (const ElementShape& child : *parent->children) {
      Entry* known = nullptr;
      for (Entry& entry : entries_)
        if (*entry.shape == child) known = &entry;
      if (known) {
        names_[&child] = known->typeName;
        std::vector<std::string>& parents = known->parents;
        if (std::find(parents.begin(), parents.end(), parentName) == parents.end())
          parents.push_back(parentName);
        continue;
      }
      std::string name = child.name;
      if (taken.count(name)) name = names_[parent] + "." + child.name;
      for (int n = 2; taken.count(name); ++n) name = names_[parent] + "." + child.name + std::to_string(n);
      taken.insert(name);
      names_[&child] = name;
      entryOfType_[name] = entries_.size();
      entries_.push_back({name, &child, {parentName}});
      queue.push_back(&child);
    }
  }
}

const std::string& ElementTypes::typeOf(const ElementShape& shape) const { return names_.at(&shape); }

std::string ElementTypes::placeOf(const std::string& typeName) const {
  std::string text;
  for (const std::string& parent : entries_[entryOfType_.at(typeName)].parents)
    text += (text.empty() ? "Stands in: " : ", ") + (parent.empty() ? std::string("the root element") : parent);
  return text.empty() ? text : text + ".";
}

}  // namespace app_core::schema

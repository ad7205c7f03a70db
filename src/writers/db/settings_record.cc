#include "writers/db/settings_record.h"

#include <unordered_map>
#include <vector>

#include "writers/db/node_writing.h"
#include "writers/db/storage_key.h"
#include "xmlfile/node_names.h"
#include "xmlfile/xml_names.h"

namespace app_core {

using velk::result_t;

namespace {

// Matches source children to target children by name and occurrence: the
// k-th source child of a name goes into the k-th target child of that name,
// created when the target has fewer. A single child therefore lands in the
// first child of its name, and a list keeps every entry. Built once per
// parent, without scanning the children per lookup: settings may have many.
class ChildrenByName {
 public:
  explicit ChildrenByName(velk::IStorage* parent) : parent_(parent) {}

  result_t openOrCreate(std::string_view name, velk::Ref<velk::IStorage>& child) {
    result_t r = indexExisting();
    if (velk::failed(r)) return r;
    // Names are compared as they are stored: "1" and "item_1" are one name.
    auto stored = velk::xml::lookupName(name);
    if (!stored) return parent_->CreateNode(name, child.put());  // refuses the name
    Occurrences& same = children_[*stored];
    if (same.used < same.nodes.size()) {
      child = same.nodes[same.used++];
      return velk::errors::kOk;
    }
    r = parent_->CreateNode(name, child.put());
    if (velk::succeeded(r)) {
      same.nodes.push_back(child);
      ++same.used;
    }
    return r;
  }

 private:
  struct Occurrences {
    std::vector<velk::Ref<velk::IStorage>> nodes;
    size_t used = 0;
  };

  result_t indexExisting() {
    if (indexed_) return velk::errors::kOk;
    uint32_t count = 0;
    result_t r = parent_->GetNodesCount(&count);
    for (uint32_t i = 0; i < count && velk::succeeded(r); ++i) {
      std::string name;
      velk::Ref<velk::IStorage> child;
      r = readChildName(parent_, i, name);
      if (velk::succeeded(r)) r = parent_->GetNode(i, child.put());
      if (velk::succeeded(r)) children_[std::move(name)].nodes.push_back(std::move(child));
    }
    indexed_ = velk::succeeded(r);
    return r;
  }

  velk::IStorage* parent_;
  bool indexed_ = false;
  std::unordered_map<std::string, Occurrences> children_;
};

result_t copyChildren(velk::IStorage* source, velk::IStorage* target) {
  uint32_t count = 0;
  result_t r = source->GetNodesCount(&count);
  if (velk::failed(r) || count == 0) return r;
  ChildrenByName targetChildren(target);
  for (uint32_t i = 0; i < count; ++i) {
    std::string name;
    velk::Ref<velk::IStorage> from;
    velk::Ref<velk::IStorage> to;
    if (velk::failed(r = readChildName(source, i, name))) return r;
    if (velk::failed(r = source->GetNode(i, from.put()))) return r;
    if (velk::failed(r = targetChildren.openOrCreate(name, to))) return r;
    if (velk::failed(r = copySettingsTree(from.get(), to.get()))) return r;
  }
  return velk::errors::kOk;
}

result_t copyValues(velk::IStorage* source, velk::IStorage* target) {
  uint32_t count = 0;
  result_t r = source->GetValuesCount(&count);
  for (uint32_t i = 0; i < count && velk::succeeded(r); ++i) {
    std::string name;
    std::string text;
    r = readValueName(source, i, name);
    if (velk::succeeded(r)) r = readTextAt(source, i, text);
    if (velk::succeeded(r)) r = writeText(target, name, std::move(text));
  }
  return r;
}

}  // namespace

result_t copySettingsTree(velk::IStorage* source, velk::IStorage* target) {
  result_t r = copyChildren(source, target);
  if (velk::succeeded(r)) r = copyValues(source, target);
  std::string text;
  if (velk::succeeded(r)) r = readOwnText(source, text);
  if (velk::succeeded(r) && !text.empty()) r = writeText(target, "", std::move(text));
  return r;
}

result_t writeSettingsRecord(const StorageContext& context, const std::string& key, uint32_t settingsTypeId,
                             velk::IStorage* settings, velk::IValuesFreeStorageFactory* adapters) {
  velk::Ref<velk::IStorage> adapted;
  result_t r = adapters->CreateStorage(settings, adapted.put());
  if (velk::failed(r)) return r;
  StorageKey stored;
  if (velk::failed(r = stored.open(context, key))) return r;
  if (velk::failed(r = copySettingsTree(adapted.get(), stored.root()))) return r;
  if (velk::failed(r = writeUnsigned(stored.root(), "unique_id", settingsTypeId))) return r;
  return stored.close();
}

}  // namespace app_core

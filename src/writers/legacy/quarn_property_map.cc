#include "writers/legacy/quarn_property_map.h"

#include "writers/legacy/quarn_node_reading.h"

namespace app_core {
namespace {

constexpr const char* kKeyElement = "key";
constexpr const char* kNameAttribute = "name";

velk::result_t writeText(velk::IStorage* node, std::string_view name, const std::string& text) {
  return node->WriteValue(name, velk::ValueDescriptor::ofText(text), 0);
}

velk::result_t copyValues(velk::IStorage* source, velk::IStorage* target, bool keepName) {
  uint32_t count = 0;
  velk::result_t r = quarn::valueCount(source, count);
  for (uint32_t i = 0; velk::succeeded(r) && i < count; ++i) {
    std::string name, text;
    r = quarn::valueName(source, i, name);
    if (velk::succeeded(r)) r = quarn::textOf(source, i, text);
    if (velk::succeeded(r) && (keepName || name != kNameAttribute)) r = writeText(target, name, text);
  }
  if (velk::failed(r)) return r;
  std::string ownText;
  r = quarn::textOf(source, "", ownText);
  if (velk::failed(r) || ownText.empty()) return r;
  return writeText(target, "", ownText);
}

velk::result_t copyTree(velk::IStorage* source, velk::IStorage* target);

// Appends a copy of the child `index` of `source` to `target`.
velk::result_t copyChild(velk::IStorage* source, uint32_t index, velk::IStorage* target,
                         velk::Ref<velk::IStorage>& from, velk::Ref<velk::IStorage>& copy) {
  std::string element;
  velk::result_t r = quarn::childName(source, index, element);
  if (velk::succeeded(r)) r = source->GetNode(index, from.put());
  if (velk::succeeded(r)) r = target->CreateNode(element, copy.put());
  if (velk::succeeded(r)) r = copyTree(from.get(), copy.get());
  return r;
}

velk::result_t copyTree(velk::IStorage* source, velk::IStorage* target) {
  velk::result_t r = copyValues(source, target, true);
  uint32_t count = 0;
  if (velk::succeeded(r)) r = quarn::childCount(source, count);
  for (uint32_t i = 0; velk::succeeded(r) && i < count; ++i) {
    velk::Ref<velk::IStorage> from, copy;
    r = copyChild(source, i, target, from, copy);
  }
  return r;
}

}  // namespace

QuarnPropertyMap::QuarnPropertyMap(velk::Ref<velk::IStorage> node)
    : QuarnPropertyMap(std::move(node), false) {}

QuarnPropertyMap::QuarnPropertyMap(velk::Ref<velk::IStorage> node, bool empty)
    : node_(std::move(node)), indexed_(empty) {}

QuarnPropertyMap::~QuarnPropertyMap() = default;

velk::result_t QuarnPropertyMap::indexChildren() {
  if (indexed_) return velk::errors::kOk;
  uint32_t count = 0;
  velk::result_t r = quarn::childCount(node_.get(), count);
  for (uint32_t i = 0; velk::succeeded(r) && i < count; ++i) {
    velk::Ref<velk::IStorage> child;
    r = node_->GetNode(i, child.put());
    if (velk::failed(r)) break;
    std::string name;
    r = quarn::textOf(child.get(), kNameAttribute, name);
    if (r == velk::errors::kNotFound) {
      r = velk::errors::kOk;  // not a named entry; no lookup can find it
      continue;
    }
    if (velk::succeeded(r)) remember(name, child);
  }
  if (velk::succeeded(r)) indexed_ = true;
  return r;
}

void QuarnPropertyMap::remember(const std::string& name, const velk::Ref<velk::IStorage>& child) {
  firstByName_.try_emplace(name, Child{child, nullptr});
}

velk::result_t QuarnPropertyMap::appendChild(std::string_view element, std::string_view name,
                                             velk::Ref<velk::IStorage>& child) {
  velk::result_t r = indexChildren();
  if (velk::succeeded(r)) r = node_->CreateNode(element, child.put());
  if (velk::succeeded(r)) r = writeText(child.get(), kNameAttribute, std::string(name));
  return r;
}

velk::result_t QuarnPropertyMap::openKey(std::string_view name, QuarnPropertyMap** key) {
  velk::result_t r = indexChildren();
  if (velk::failed(r)) return r;
  auto found = firstByName_.find(name);
  if (found == firstByName_.end()) return appendKey(name, key);
  Child& child = found->second;
  if (!child.key) child.key.reset(new QuarnPropertyMap(child.node, false));
  *key = child.key.get();
  return velk::errors::kOk;
}

velk::result_t QuarnPropertyMap::appendKey(std::string_view name, QuarnPropertyMap** key) {
  velk::Ref<velk::IStorage> node;
  velk::result_t r = appendChild(kKeyElement, name, node);
  if (velk::failed(r)) return r;
  std::unique_ptr<QuarnPropertyMap> created(new QuarnPropertyMap(node, true));
  *key = created.get();
  auto [entry, first] = firstByName_.try_emplace(std::string(name), Child{node, nullptr});
  if (first)
    entry->second.key = std::move(created);
  else
    laterKeys_.push_back(std::move(created));
  return velk::errors::kOk;
}

velk::result_t QuarnPropertyMap::addValue(const QuarnValue& value) {
  velk::Ref<velk::IStorage> node;
  velk::result_t r = appendChild(value.element, value.name, node);
  if (velk::succeeded(r)) r = writeText(node.get(), "", value.text);
  if (velk::succeeded(r)) remember(value.name, node);
  return r;
}

velk::result_t QuarnPropertyMap::addValues(const std::vector<QuarnValue>& values) {
  for (const QuarnValue& value : values) {
    velk::result_t r = addValue(value);
    if (velk::failed(r)) return r;
  }
  return velk::errors::kOk;
}

velk::result_t QuarnPropertyMap::copyContent(velk::IStorage* source) {
  velk::result_t r = indexChildren();
  if (velk::succeeded(r)) r = copyValues(source, node_.get(), false);
  uint32_t count = 0;
  if (velk::succeeded(r)) r = quarn::childCount(source, count);
  for (uint32_t i = 0; velk::succeeded(r) && i < count; ++i) {
    velk::Ref<velk::IStorage> from, copy;
    r = copyChild(source, i, node_.get(), from, copy);
    std::string name;
    if (velk::succeeded(r)) r = quarn::textOf(copy.get(), kNameAttribute, name);
    if (velk::succeeded(r))
      remember(name, copy);
    else if (r == velk::errors::kNotFound)
      r = velk::errors::kOk;
  }
  return r;
}

}  // namespace app_core

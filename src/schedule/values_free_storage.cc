#include "schedule/values_free_storage.h"

#include <unordered_map>

#include <algorithm>

#include "xmlfile/node_names.h"
#include "xmlfile/value_text.h"

namespace velk {
namespace {

constexpr std::string_view kMarker = "unique_id";

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Values whose names cannot start an element name live in "item" elements.
std::string_view elementNameOf(std::string_view valueName) {
  return !valueName.empty() && isLetter(valueName[0]) ? valueName : "item";
}

bool isAbsent(result_t r) {
  return r == errors::kNotFound || r == errors::kFileNotFound || r == errors::kPathNotFound;
}

}  // namespace

result_t ValuesFreeStorage::scan() {
  if (scanned_) return errors::kOk;
  attributes_.clear();
  nodes_.clear();
  values_.clear();
  uint32_t count = 0;
  result_t r = node_->GetValuesCount(&count);
  if (failed(r)) return r;
  attributes_.resize(count);
  for (uint32_t i = 0; i < count; ++i)
    if (failed(r = app_core::readValueName(node_.get(), i, attributes_[i]))) return r;
  if (failed(r = node_->GetNodesCount(&count))) return r;
  std::vector<Child> plain;
  for (uint32_t i = 0; i < count; ++i) {
    Child child{i, {}};
    Ref<IStorage> element;
    uint32_t grandChildren = 0;
    uint32_t attributes = 0;
    if (failed(r = app_core::readChildName(node_.get(), i, child.name))) return r;
    if (failed(r = node_->GetNode(i, element.put()))) return r;
    if (failed(r = element->GetNodesCount(&grandChildren))) return r;
    if (failed(r = element->GetValuesCount(&attributes))) return r;
    (grandChildren || attributes ? nodes_ : plain).push_back(std::move(child));
  }
  splitRepeatedElements(plain);
  scanned_ = true;
  return errors::kOk;
}

// A name holds one value, so plain elements that repeat a name (a list such
// as <item>a</item><item>b</item>) are presented as nodes, each keeping its
// text; as values all but one would be lost.
void ValuesFreeStorage::splitRepeatedElements(std::vector<Child>& plain) {
  std::unordered_map<std::string, uint32_t> uses;
  for (const Child& child : plain) ++uses[child.name];
  for (Child& child : plain) (uses[child.name] > 1 ? nodes_ : values_).push_back(std::move(child));
  std::sort(nodes_.begin(), nodes_.end(), [](const Child& a, const Child& b) { return a.index < b.index; });
}

bool ValuesFreeStorage::isAttribute(std::string_view name) {
  if (name == kMarker) return true;
  if (failed(scan())) return false;
  return std::find(attributes_.begin(), attributes_.end(), name) != attributes_.end();
}

result_t ValuesFreeStorage::readText(std::string_view name, std::string& text) {
  result_t r = app_core::readTextValue(node_.get(), name, text);
  if (name.empty() || !isAbsent(r)) return r;
  Ref<IStorage> element;
  r = node_->GetNode(elementNameOf(name), element.put());
  if (failed(r)) return r;
  return app_core::readTextValue(element.get(), "", text);
}

result_t ValuesFreeStorage::CreateNode(std::string_view name, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  invalidate();
  Ref<IStorage> element;
  result_t r = node_->CreateNode(name, element.put());
  if (failed(r)) return r;
  *child = make<ValuesFreeStorage>(element).detach();
  return errors::kOk;
}

result_t ValuesFreeStorage::RemoveNode(std::string_view name) {
  invalidate();
  return node_->RemoveNode(name);
}

result_t ValuesFreeStorage::GetNode(uint32_t index, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  result_t r = scan();
  if (failed(r)) return r;
  if (index >= nodes_.size()) return errors::kInvalidIndex;
  Ref<IStorage> element;
  r = node_->GetNode(nodes_[index].index, element.put());
  if (failed(r)) return r;
  *child = make<ValuesFreeStorage>(element).detach();
  return errors::kOk;
}

result_t ValuesFreeStorage::GetNode(std::string_view name, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  Ref<IStorage> element;
  result_t r = node_->GetNode(name, element.put());
  if (failed(r)) return r;
  *child = make<ValuesFreeStorage>(element).detach();
  return errors::kOk;
}

result_t ValuesFreeStorage::GetName(char* buffer, uint32_t* size) { return node_->GetName(buffer, size); }

result_t ValuesFreeStorage::GetNodesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  result_t r = scan();
  if (failed(r)) return r;
  *count = static_cast<uint32_t>(nodes_.size());
  return errors::kOk;
}

result_t ValuesFreeStorage::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  result_t r = scan();
  if (failed(r)) return r;
  if (index >= nodes_.size()) return errors::kInvalidIndex;
  return copyName(nodes_[index].name, buffer, size);
}

result_t ValuesFreeStorage::GetValuesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  result_t r = scan();
  if (failed(r)) return r;
  *count = static_cast<uint32_t>(attributes_.size() + values_.size());
  return errors::kOk;
}

result_t ValuesFreeStorage::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  result_t r = scan();
  if (failed(r)) return r;
  if (index < attributes_.size()) return copyName(attributes_[index], buffer, size);
  index -= static_cast<uint32_t>(attributes_.size());
  if (index >= values_.size()) return errors::kInvalidIndex;
  return copyName(values_[index].name, buffer, size);
}

result_t ValuesFreeStorage::WriteValue(std::string_view name, const ValueDescriptor& value, uint32_t flags) {
  bool attribute = name.empty() || isAttribute(name);
  invalidate();
  if (attribute) return node_->WriteValue(name, value, flags);
  std::string_view element = elementNameOf(name);
  if (value.baseType() == kTypeEmpty) return node_->RemoveNode(element);
  Ref<IStorage> child;
  result_t r = node_->GetNode(element, child.put());
  if (isAbsent(r)) r = node_->CreateNode(element, child.put());
  if (failed(r)) return r;
  return child->WriteValue("", value, flags);
}

// By position, not by name: elements may share a name, and an element may
// share its name with an attribute.
result_t ValuesFreeStorage::ReadValue(uint32_t index, ValueDescriptor& value, uint32_t) {
  result_t r = scan();
  if (failed(r)) return r;
  std::string text;
  if (index < attributes_.size()) {
    r = app_core::readTextAt(node_.get(), index, text);
  } else {
    index -= static_cast<uint32_t>(attributes_.size());
    if (index >= values_.size()) return errors::kInvalidIndex;
    Ref<IStorage> element;
    r = node_->GetNode(values_[index].index, element.put());
    if (succeeded(r)) r = app_core::readTextValue(element.get(), "", text);
  }
  return failed(r) ? r : xml::textToValue(text, value);
}

result_t ValuesFreeStorage::ReadValue(std::string_view name, ValueDescriptor& value, uint32_t) {
  std::string text;
  result_t r = readText(name, text);
  if (failed(r)) return r;
  return xml::textToValue(text, value);
}

result_t ValuesFreeStorage::Flush() { return node_->Flush(); }

}  // namespace velk

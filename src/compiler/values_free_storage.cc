#include "compiler/values_free_storage.h"

#include "compiler/storage_names.h"
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
  nodes_.clear();
  values_.clear();
  std::string marker;
  hasMarker_ = succeeded(app_core::readTextValue(node_.get(), kMarker, marker));
  uint32_t count = 0;
  result_t r = node_->GetNodesCount(&count);
  if (failed(r)) return r;
  for (uint32_t i = 0; i < count; ++i) {
    Child child{i, {}};
    Ref<IStorage> element;
    uint32_t grandChildren = 0;
    if (failed(r = app_core::readChildName(node_.get(), i, child.name))) return r;
    if (failed(r = node_->GetNode(i, element.put()))) return r;
    if (failed(r = element->GetNodesCount(&grandChildren))) return r;
    (grandChildren ? nodes_ : values_).push_back(std::move(child));
  }
  scanned_ = true;
  return errors::kOk;
}

result_t ValuesFreeStorage::readText(std::string_view name, std::string& text) {
  if (name.empty()) return app_core::readTextValue(node_.get(), name, text);
  if (name == kMarker) {
    result_t r = app_core::readTextValue(node_.get(), name, text);
    if (!isAbsent(r)) return r;
  }
  Ref<IStorage> element;
  result_t r = node_->GetNode(elementNameOf(name), element.put());
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
  *count = static_cast<uint32_t>(values_.size() + (hasMarker_ ? 1 : 0));
  return errors::kOk;
}

result_t ValuesFreeStorage::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  result_t r = scan();
  if (failed(r)) return r;
  if (hasMarker_) {
    if (index == 0) return copyName(kMarker, buffer, size);
    --index;
  }
  if (index >= values_.size()) return errors::kInvalidIndex;
  return copyName(values_[index].name, buffer, size);
}

result_t ValuesFreeStorage::WriteValue(std::string_view name, const ValueDescriptor& value,
                                       uint32_t flags) {
  invalidate();
  if (name.empty() || name == kMarker) return node_->WriteValue(name, value, flags);
  std::string_view element = elementNameOf(name);
  if (value.baseType() == kTypeEmpty) return node_->RemoveNode(element);
  Ref<IStorage> child;
  result_t r = node_->GetNode(element, child.put());
  if (isAbsent(r)) r = node_->CreateNode(element, child.put());
  if (failed(r)) return r;
  return child->WriteValue("", value, flags);
}

result_t ValuesFreeStorage::ReadValue(uint32_t index, ValueDescriptor& value, uint32_t flags) {
  std::string name;
  result_t r = app_core::readValueName(this, index, name);
  if (failed(r)) return r;
  return ReadValue(name, value, flags);
}

result_t ValuesFreeStorage::ReadValue(std::string_view name, ValueDescriptor& value, uint32_t) {
  std::string text;
  result_t r = readText(name, text);
  if (failed(r)) return r;
  return xml::textToValue(text, value);
}

result_t ValuesFreeStorage::Flush() { return node_->Flush(); }

}  // namespace velk

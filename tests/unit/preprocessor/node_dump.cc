#include "node_dump.h"

#include <tinyxml.h>

#include <stdexcept>

namespace app_core::helpers::test {

using velk::result_t;
namespace errors = velk::errors;

result_t TestNode::CreateNode(std::string_view name, IXmlFileStorage** child) {
  auto node = velk::make<TestNode>(std::string(name), location_);
  children_.push_back(node);
  *child = velk::Ref<IXmlFileStorage>(node).detach();
  return errors::kOk;
}

result_t TestNode::GetNode(uint32_t index, IXmlFileStorage** child) {
  *child = nullptr;
  if (index >= children_.size()) return errors::kInvalidIndex;
  ++opened_;
  *child = velk::Ref<IXmlFileStorage>(children_[index]).detach();
  return errors::kOk;
}

result_t TestNode::GetNode(std::string_view name, IXmlFileStorage** child) {
  *child = nullptr;
  for (auto& c : children_) {
    if (c->name_ == name) {
      *child = velk::Ref<IXmlFileStorage>(c).detach();
      return errors::kOk;
    }
  }
  return errors::kNotFound;
}

result_t TestNode::GetNodesCount(uint32_t* count) {
  *count = static_cast<uint32_t>(children_.size());
  return errors::kOk;
}

result_t TestNode::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  if (index >= children_.size()) return errors::kInvalidIndex;
  return velk::copyName(children_[index]->name_, buffer, size);
}

result_t TestNode::GetValuesCount(uint32_t* count) {
  *count = static_cast<uint32_t>(values_.size());
  return errors::kOk;
}

result_t TestNode::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  if (index >= values_.size()) return errors::kInvalidIndex;
  return velk::copyName(values_[index].first, buffer, size);
}

result_t TestNode::WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t) {
  if (name.empty()) {
    text_ = value.text;
    return errors::kOk;
  }
  values_.emplace_back(std::string(name), value.text);
  return errors::kOk;
}

result_t TestNode::give(const std::string& text, velk::ValueDescriptor& value) {
  if (value.baseType() == velk::kTypeWideText) {
    value.wideText.assign(text.begin(), text.end());
  } else {
    value.type = velk::kTypeText;
    value.text = text;
  }
  return errors::kOk;
}

result_t TestNode::ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t) {
  if (index >= values_.size()) return errors::kInvalidIndex;
  return give(values_[index].second, value);
}

result_t TestNode::ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t) {
  if (name.empty()) return give(text_, value);
  for (auto& [n, v] : values_) {
    if (n == name) return give(v, value);
  }
  return errors::kFileNotFound;
}

namespace {

velk::Ref<TestNode> build(const TiXmlElement* element, const std::string& file) {
  auto location = velk::Ref<IFileLocation>(velk::make<FileLocation>(nullptr, file, element->Row()));
  auto node = velk::make<TestNode>(element->Value(), location);
  for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next()) node->addValue(a->Name(), a->Value());
  if (element->GetText()) node->setText(element->GetText());
  for (const TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement()) node->addChild(build(c, file));
  return node;
}

}  // namespace

velk::Ref<TestNode> parseNodes(const std::string& xml, const std::string& file) {
  TiXmlDocument document;
  document.Parse(xml.c_str());
  if (document.Error() || !document.RootElement()) throw std::runtime_error(document.ErrorDesc());
  return build(document.RootElement(), file);
}

namespace {

std::string readAt(IXmlFileStorage* node, uint32_t index) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText;
  if (velk::failed(node->ReadValue(index, value, 0))) return "?";
  return value.text;
}

std::string nameOf(IXmlFileStorage* node) {
  uint32_t size = 0;
  node->GetName(nullptr, &size);
  std::string name(size, '\0');
  node->GetName(name.data(), &size);
  name.resize(size);
  return name;
}

}  // namespace

std::string dump(IXmlFileStorage* node) {
  std::string out = nameOf(node);
  uint32_t count = 0;
  node->GetValuesCount(&count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t size = 0;
    node->GetValueName(i, nullptr, &size);
    std::string name(size, '\0');
    node->GetValueName(i, name.data(), &size);
    name.resize(size);
    out += " " + name + "=" + readAt(node, i);
  }
  velk::ValueDescriptor text;
  text.type = velk::kTypeText;
  if (velk::succeeded(node->ReadValue("", text, 0)) && !text.text.empty()) out += " \"" + text.text + "\"";
  node->GetNodesCount(&count);
  if (count == 0) return out;
  out += " {";
  for (uint32_t i = 0; i < count; ++i) {
    velk::Ref<IXmlFileStorage> child;
    node->GetNode(i, child.put());
    out += (i ? ", " : " ") + dump(child.get());
  }
  return out + " }";
}

}  // namespace app_core::helpers::test

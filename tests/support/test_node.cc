#include "test_node.h"

#include <tinyxml.h>

#include <stdexcept>

#include "xmlfile/value_text.h"

namespace app_core::testing {
namespace {

using velk::result_t;
namespace errors = velk::errors;

velk::Ref<TestNode> convert(const TiXmlElement* element, const std::string& file) {
  auto node = velk::make<TestNode>(
      element->Value(),
      velk::make<helpers::FileLocation>(nullptr, file, static_cast<uint32_t>(element->Row())));
  for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
    node->attributes.emplace_back(a->Name(), a->Value());
  if (const char* text = element->GetText()) node->text = text;
  for (const TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement())
    node->children.push_back(convert(c, file));
  return node;
}

}  // namespace

velk::Ref<TestNode> parseTestXml(const std::string& xml, const std::string& file) {
  TiXmlDocument document;
  document.Parse(xml.c_str());
  if (document.Error() || !document.RootElement()) throw std::runtime_error(document.ErrorDesc());
  return convert(document.RootElement(), file);
}

TestNode* TestNode::child(std::string_view childName) {
  for (auto& c : children)
    if (c->name == childName) return c.get();
  return nullptr;
}

result_t TestNode::RemoveNode(std::string_view removed) {
  for (auto it = children.begin(); it != children.end(); ++it) {
    if ((*it)->name == removed) {
      children.erase(it);
      return errors::kOk;
    }
  }
  return errors::kNotFound;
}

result_t TestNode::GetName(char* buffer, uint32_t* size) { return velk::copyName(name, buffer, size); }

result_t TestNode::GetNodesCount(uint32_t* count) {
  *count = static_cast<uint32_t>(children.size());
  return errors::kOk;
}

result_t TestNode::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  if (index >= children.size()) return errors::kInvalidIndex;
  return velk::copyName(children[index]->name, buffer, size);
}

result_t TestNode::GetValuesCount(uint32_t* count) {
  if (velk::failed(valuesCountResult)) return valuesCountResult;
  *count = static_cast<uint32_t>(attributes.size());
  return errors::kOk;
}

result_t TestNode::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  if (index >= attributes.size()) return errors::kInvalidIndex;
  return velk::copyName(attributes[index].first, buffer, size);
}

result_t TestNode::WriteValue(std::string_view valueName, const velk::ValueDescriptor& value, uint32_t) {
  std::string written;
  velk::result_t r = velk::xml::valueToText(value, written);
  if (velk::failed(r)) return r;
  if (valueName.empty()) {
    text = written;
    return errors::kOk;
  }
  for (auto& [n, v] : attributes) {
    if (n == valueName) {
      v = written;
      return errors::kOk;
    }
  }
  attributes.emplace_back(valueName, written);
  return errors::kOk;
}

result_t TestNode::ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t) {
  if (index >= attributes.size()) return errors::kInvalidIndex;
  return velk::xml::textToValue(attributes[index].second, value);
}

result_t TestNode::ReadValue(std::string_view valueName, velk::ValueDescriptor& value, uint32_t) {
  if (valueName.empty()) return velk::xml::textToValue(text, value);
  for (auto& [n, v] : attributes)
    if (n == valueName) return velk::xml::textToValue(v, value);
  return errors::kNotFound;
}

result_t TestNode::GetNode(std::string_view childName, helpers::IXmlFileStorage** out) {
  *out = nullptr;
  TestNode* found = child(childName);
  if (!found) return errors::kNotFound;
  found->AddRef();
  *out = found;
  return errors::kOk;
}

result_t TestNode::GetNode(uint32_t index, helpers::IXmlFileStorage** out) {
  *out = nullptr;
  if (index >= children.size()) return errors::kInvalidIndex;
  children[index]->AddRef();
  *out = children[index].get();
  return errors::kOk;
}

result_t TestNode::CreateNode(std::string_view childName, helpers::IXmlFileStorage** out) {
  auto created = velk::make<TestNode>(std::string(childName), location);
  children.push_back(created);
  *out = created.detach();
  return errors::kOk;
}

}  // namespace app_core::testing

#include "node_dump.h"

namespace app_core::helpers::test {
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

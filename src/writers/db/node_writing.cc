#include "writers/db/node_writing.h"

#include "xmlfile/keep_as_printed.h"
#include "xmlfile/node_names.h"

namespace app_core {

using velk::result_t;

result_t openOrCreateChild(velk::IStorage* parent, std::string_view name, velk::Ref<velk::IStorage>& child) {
  result_t r = parent->GetNode(name, child.put());
  if (r == velk::errors::kNotFound) r = parent->CreateNode(name, child.put());
  return r;
}

result_t createChild(velk::IStorage* parent, std::string_view name, velk::Ref<velk::IStorage>& child) {
  return parent->CreateNode(name, child.put());
}

result_t createTextChild(velk::IStorage* parent, std::string_view name, std::string text) {
  velk::Ref<velk::IStorage> child;
  result_t r = createChild(parent, name, child);
  if (velk::failed(r)) return r;
  return writeText(child.get(), "", std::move(text));
}

result_t writeText(velk::IStorage* node, std::string_view name, std::string text) {
  return node->WriteValue(name, velk::ValueDescriptor::ofText(std::move(text)), 0);
}

result_t writeUnsigned(velk::IStorage* node, std::string_view name, uint32_t value) {
  return node->WriteValue(name, velk::ValueDescriptor::ofUInt32(value), 0);
}

result_t writeSigned(velk::IStorage* node, std::string_view name, int32_t value) {
  return node->WriteValue(name, velk::ValueDescriptor::ofInt32(value), 0);
}

void keepAsPrinted(velk::IStorage* node) {
  if (auto printed = velk::queryInterface<velk::IKeepAsPrinted>(node)) printed->KeepAsPrinted();
}

result_t readOwnText(velk::IStorage* node, std::string& text) {
  text.clear();
  result_t r = readTextValue(node, "", text);
  // Nodes that hold no data at all (the empty settings) have no own value.
  return r == velk::errors::kNotFound ? velk::errors::kOk : r;
}

}  // namespace app_core

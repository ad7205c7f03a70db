#include "writers/legacy/quarn_node_reading.h"

#include "xmlfile/node_names.h"

namespace app_core::quarn {
namespace {

velk::ValueDescriptor textRequest() {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText;
  return value;
}

}  // namespace

velk::result_t childCount(velk::IStorage* node, uint32_t& count) { return node->GetNodesCount(&count); }

velk::result_t childName(velk::IStorage* node, uint32_t index, std::string& name) {
  return readChildName(node, index, name);
}

velk::result_t valueCount(velk::IStorage* node, uint32_t& count) { return node->GetValuesCount(&count); }

velk::result_t valueName(velk::IStorage* node, uint32_t index, std::string& name) {
  return readValueName(node, index, name);
}

velk::result_t textOf(velk::IStorage* node, std::string_view name, std::string& text) {
  velk::ValueDescriptor value = textRequest();
  velk::result_t r = node->ReadValue(name, value, 0);
  if (velk::succeeded(r)) text = std::move(value.text);
  return r;
}

velk::result_t textOf(velk::IStorage* node, uint32_t index, std::string& text) {
  velk::ValueDescriptor value = textRequest();
  velk::result_t r = node->ReadValue(index, value, 0);
  if (velk::succeeded(r)) text = std::move(value.text);
  return r;
}

velk::result_t nameAttribute(velk::IStorage* node, std::string& name) {
  velk::result_t r = textOf(node, "name", name);
  if (r == velk::errors::kNotFound) {
    name.clear();
    return velk::errors::kOk;
  }
  return r;
}

}  // namespace app_core::quarn

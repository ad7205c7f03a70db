#include "xmlfile/node_names.h"

#include <algorithm>
#include <vector>

namespace app_core {
namespace {

template <class Read>
velk::result_t readSized(Read read, std::string& name) {
  uint32_t size = 0;
  velk::result_t r = read(nullptr, &size);
  if (velk::failed(r)) return r;
  std::vector<char> buffer(size + 1);
  size = static_cast<uint32_t>(buffer.size());
  r = read(buffer.data(), &size);
  if (velk::failed(r)) return r;
  name.assign(buffer.data(), std::min<size_t>(size, buffer.size() - 1));
  return r;
}

}  // namespace

velk::result_t readNodeName(velk::IStorage* node, std::string& name) {
  return readSized([&](char* b, uint32_t* s) { return node->GetName(b, s); }, name);
}

velk::result_t readChildName(velk::IStorage* node, uint32_t index, std::string& name) {
  return readSized([&](char* b, uint32_t* s) { return node->GetNodeName(index, b, s); }, name);
}

velk::result_t readValueName(velk::IStorage* node, uint32_t index, std::string& name) {
  return readSized([&](char* b, uint32_t* s) { return node->GetValueName(index, b, s); }, name);
}

velk::result_t readTextValue(velk::IStorage* node, std::string_view name, std::string& text) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeByRef | velk::kTypeText;
  velk::result_t r = node->ReadValue(name, value, 0);
  if (velk::succeeded(r)) text = std::move(value.text);
  return r;
}

}  // namespace app_core

namespace app_core {

velk::result_t readTextAt(velk::IStorage* node, uint32_t index, std::string& text) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeByRef | velk::kTypeText;
  velk::result_t r = node->ReadValue(index, value, 0);
  if (velk::succeeded(r)) text = std::move(value.text);
  return r;
}

velk::result_t readNumberAt(velk::IStorage* node, uint32_t index, uint32_t type, uint64_t& bits) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeByRef | type;
  velk::result_t r = node->ReadValue(index, value, 0);
  if (velk::succeeded(r)) bits = value.bits;
  return r;
}

}  // namespace app_core

#include "records/exchange_tree_copy.h"

#include <string>

#include "xmlfile/node_names.h"

namespace app_core {

using velk::Ref;

namespace {

void check(velk::result_t r, uint32_t line, const char* what) { velk::checkResult(r, {kExporterSource, line}, what); }

std::string nameOf(velk::IStorage* node) {
  std::string name;
  check(readNodeName(node, name), 52, "GetName");
  return name;
}

std::string valueNameOf(velk::IStorage* node, uint32_t index) {
  std::string name;
  check(readValueName(node, index, name), 66, "GetValueName");
  return name;
}

velk::ValueDescriptor textDescriptor() {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText | velk::kTypeByRef;
  return value;
}

bool copyChildren(velk::IStorage* source, velk::IStorage* destination) {
  uint32_t count = 0;
  check(source->GetNodesCount(&count), 41, "GetNodesCount");
  for (uint32_t i = 0; i < count; ++i) {
    Ref<velk::IStorage> child;
    check(source->GetNode(i, child.put()), 45, "GetNode");
    Ref<velk::IStorage> copy;
    check(destination->CreateNode(nameOf(child.get()), copy.put()), 47, "CreateNode");
    copyExchangeTree(child.get(), copy.get());
  }
  return count != 0;
}

bool copyValues(velk::IStorage* source, velk::IStorage* destination) {
  uint32_t count = 0;
  check(source->GetValuesCount(&count), 61, "GetValuesCount");
  for (uint32_t i = 0; i < count; ++i) {
    velk::ValueDescriptor value = textDescriptor();
    check(source->ReadValue(i, value, 0), 70, "ReadValue");
    check(destination->WriteValue(valueNameOf(source, i), velk::ValueDescriptor::ofText(std::move(value.text)), 0), 71,
          "WriteValue");
  }
  return count != 0;
}

bool copyText(velk::IStorage* source, velk::IStorage* destination) {
  velk::ValueDescriptor value = textDescriptor();
  check(source->ReadValue(std::string_view(), value, 0), 78, "ReadValue");
  if (value.text.empty()) return false;
  check(destination->WriteValue(std::string_view(), velk::ValueDescriptor::ofText(std::move(value.text)), 0), 80,
        "WriteValue");
  return true;
}

}  // namespace

bool copyExchangeTree(velk::IStorage* source, velk::IStorage* destination) {
  bool children = copyChildren(source, destination);
  bool values = copyValues(source, destination);
  bool text = copyText(source, destination);
  return children || values || text;
}

}  // namespace app_core

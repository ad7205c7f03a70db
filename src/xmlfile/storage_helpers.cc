#include "xmlfile/storage_helpers.h"

#include "velk/exception.h"
#include "xmlfile/node_names.h"

namespace velk::helpers {
namespace {

constexpr const char* kSource = "velk/util/helpers/storage";

bool meansAbsent(result_t r) {
  return r == errors::kFileNotFound || r == errors::kPathNotFound || r == errors::kNotFound;
}

// The name for a message; a node that cannot tell its name gives "".
std::string nameForMessage(IStorage* node) {
  std::string name;
  return succeeded(app_core::readNodeName(node, name)) ? name : std::string();
}

[[noreturn]] void throwAtNode(IStorage* node, std::string_view what, result_t r, uint32_t line) {
  std::string message(what);
  message += " at node " + nameForMessage(node);
  int row = -1;
  int column = -1;
  auto position = queryInterface<IStoragePosition>(node);
  if (position && succeeded(position->GetPosition(&row, &column))) {
    message += " (row " + std::to_string(row) + ", column " + std::to_string(column) + ")";
  } else {
    row = column = -1;
  }
  throw wrappers::XmlStorageException({kSource, line}, message, r, row, column);
}

bool readAs(IStorage* node, std::string_view name, ValueDescriptor& value) {
  result_t r = node->ReadValue(name, value, 0);
  if (meansAbsent(r)) return false;
  if (failed(r)) throwAtNode(node, name, r, 88);
  return true;
}

}  // namespace

bool readText(IStorage* node, std::string_view name, std::string& text) {
  ValueDescriptor value;
  value.type = kTypeText | kTypeByRef;
  if (!readAs(node, name, value)) return false;
  text = std::move(value.text);
  return true;
}

bool readText(IStorage* node, std::string_view name, std::wstring& text) {
  ValueDescriptor value;
  value.type = kTypeWideText | kTypeByRef;
  if (!readAs(node, name, value)) return false;
  text = std::move(value.wideText);
  return true;
}

std::string nodeName(IStorage* node) {
  std::string name;
  checkResult(app_core::readNodeName(node, name), {kSource, 54});
  return name;
}

uint32_t valuesCount(IStorage* node) {
  uint32_t count = 0;
  result_t r = node->GetValuesCount(&count);
  if (failed(r)) throwAtNode(node, "GetValuesCount", r, 112);
  return count;
}

std::string valueName(IStorage* node, uint32_t index) {
  std::string name;
  result_t r = app_core::readValueName(node, index, name);
  if (failed(r)) throwAtNode(node, "GetValueName", r, 131);
  return name;
}

}  // namespace velk::helpers

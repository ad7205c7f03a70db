#include "xmlfile/storage_helpers.h"

#include "velk/exception.h"

namespace velk::helpers {
namespace {

constexpr const char* kSource = "velk/util/helpers/storage";

bool meansAbsent(result_t r) {
  return r == errors::kFileNotFound || r == errors::kPathNotFound || r == errors::kNotFound;
}

// The name for a message; a node that cannot tell its name gives "".
std::string nameForMessage(IStorage* node) {
  uint32_t size = 0;
  if (failed(node->GetName(nullptr, &size)) || size == 0) return {};
  std::string name(size, '\0');
  if (failed(node->GetName(name.data(), &size))) return {};
  name.resize(size);
  return name;
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
  uint32_t size = 0;
  checkResult(node->GetName(nullptr, &size), {kSource, 54});
  std::string name(size, '\0');
  checkResult(node->GetName(name.data(), &size), {kSource, 57});
  name.resize(size);
  return name;
}

uint32_t valuesCount(IStorage* node) {
  uint32_t count = 0;
  result_t r = node->GetValuesCount(&count);
  if (failed(r)) throwAtNode(node, "GetValuesCount", r, 112);
  return count;
}

std::string valueName(IStorage* node, uint32_t index) {
  uint32_t size = 0;
  result_t r = node->GetValueName(index, nullptr, &size);
  std::string name(size, '\0');
  if (succeeded(r)) r = node->GetValueName(index, name.data(), &size);
  if (failed(r)) throwAtNode(node, "GetValueName", r, 131);
  name.resize(size);
  return name;
}

}  // namespace velk::helpers

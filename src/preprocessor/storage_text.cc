#include "preprocessor/storage_text.h"

#include "velk/exception.h"

namespace app_core::helpers {

namespace {
constexpr velk::SourcePos kStoragePos{"velk/util/helpers/storage", 0};
}

std::string nodeName(velk::IStorage* node) {
  uint32_t size = 0;
  velk::checkResult(node->GetName(nullptr, &size), kStoragePos);
  std::string name(size, '\0');
  velk::checkResult(node->GetName(name.data(), &size), kStoragePos);
  name.resize(size);
  return name;
}

uint32_t valuesCount(velk::IStorage* node) {
  uint32_t count = 0;
  velk::checkResult(node->GetValuesCount(&count), kStoragePos);
  return count;
}

std::string valueName(velk::IStorage* node, uint32_t index) {
  uint32_t size = 0;
  velk::checkResult(node->GetValueName(index, nullptr, &size), kStoragePos);
  std::string name(size, '\0');
  velk::checkResult(node->GetValueName(index, name.data(), &size), kStoragePos);
  name.resize(size);
  return name;
}

bool readText(velk::IStorage* node, std::string_view name, std::string& text) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText | velk::kTypeByRef;
  velk::result_t r = node->ReadValue(name, value, 0);
  if (r == velk::errors::kNotFound || r == velk::errors::kFileNotFound || r == velk::errors::kPathNotFound)
    return false;
  velk::checkResult(r, kStoragePos);
  text = std::move(value.text);
  return true;
}

std::string requireText(velk::IStorage* node, std::string_view name) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText | velk::kTypeByRef;
  velk::result_t r = node->ReadValue(name, value, 0);
  if (velk::succeeded(r)) return std::move(value.text);
  std::string message(name);
  message += " at node " + nodeName(node);
  int row = -1;
  int column = -1;
  velk::Ref<velk::IStoragePosition> position = velk::queryInterface<velk::IStoragePosition>(node);
  if (position && velk::succeeded(position->GetPosition(&row, &column))) {
    message += " (row " + std::to_string(row) + ", column " + std::to_string(column) + ")";
  }
  throw velk::wrappers::XmlStorageException(kStoragePos, message, r, row, column);
}

}  // namespace app_core::helpers

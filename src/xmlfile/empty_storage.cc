#include "xmlfile/empty_storage.h"

namespace app_core::helpers {

using velk::result_t;
namespace errors = velk::errors;

namespace {
result_t noChild(velk::IStorage** child, result_t r) {
  if (child) *child = nullptr;
  return r;
}
}  // namespace

result_t EmptyStorage::CreateNode(std::string_view, velk::IStorage** child) {
  return noChild(child, errors::kNotSupported);
}
result_t EmptyStorage::RemoveNode(std::string_view) { return errors::kNotSupported; }
result_t EmptyStorage::GetNode(uint32_t, velk::IStorage** child) { return noChild(child, errors::kInvalidIndex); }
result_t EmptyStorage::GetNode(std::string_view, velk::IStorage** child) { return noChild(child, errors::kNotFound); }
result_t EmptyStorage::GetName(char*, uint32_t*) { return errors::kNotSupported; }

result_t EmptyStorage::GetNodesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  *count = 0;
  return errors::kOk;
}

result_t EmptyStorage::GetNodeName(uint32_t, char*, uint32_t*) { return errors::kInvalidIndex; }

result_t EmptyStorage::GetValuesCount(uint32_t* count) { return GetNodesCount(count); }

result_t EmptyStorage::GetValueName(uint32_t, char*, uint32_t*) { return errors::kInvalidIndex; }
result_t EmptyStorage::WriteValue(std::string_view, const velk::ValueDescriptor&, uint32_t) {
  return errors::kNotSupported;
}
result_t EmptyStorage::ReadValue(uint32_t, velk::ValueDescriptor&, uint32_t) { return errors::kInvalidIndex; }
result_t EmptyStorage::ReadValue(std::string_view, velk::ValueDescriptor&, uint32_t) { return errors::kNotFound; }
result_t EmptyStorage::Flush() { return errors::kOk; }

}  // namespace app_core::helpers

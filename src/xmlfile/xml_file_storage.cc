#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

using velk::result_t;

result_t IXmlFileStorage::CreateNode(std::string_view name, velk::IStorage** child) {
  if (!child) return velk::errors::kInvalidArgument;
  IXmlFileStorage* located = nullptr;
  result_t r = CreateNode(name, &located);
  *child = located;
  return r;
}

result_t IXmlFileStorage::GetNode(uint32_t index, velk::IStorage** child) {
  if (!child) return velk::errors::kInvalidArgument;
  IXmlFileStorage* located = nullptr;
  result_t r = GetNode(index, &located);
  *child = located;
  return r;
}

result_t IXmlFileStorage::GetNode(std::string_view name, velk::IStorage** child) {
  if (!child) return velk::errors::kInvalidArgument;
  IXmlFileStorage* located = nullptr;
  result_t r = GetNode(name, &located);
  *child = located;
  return r;
}

}  // namespace app_core::helpers

#include "xmlfile/xml_file_storage_object_base.h"

namespace app_core::helpers {

using velk::result_t;

result_t XmlFileStorageObjectBase::QueryInterface(velk::iid_t iid, void** out) {
  result_t r = ObjectBase::QueryInterface(iid, out);
  if (r != velk::errors::kNoInterface || iid != velk::IStoragePosition::IID) return r;
  velk::IObject* source = underlying();
  return source ? source->QueryInterface(iid, out) : r;
}

result_t XmlFileStorageObjectBase::RemoveNode(std::string_view name) { return underlying()->RemoveNode(name); }

result_t XmlFileStorageObjectBase::GetName(char* buffer, uint32_t* size) {
  return underlying()->GetName(buffer, size);
}

result_t XmlFileStorageObjectBase::GetNodesCount(uint32_t* count) { return underlying()->GetNodesCount(count); }

result_t XmlFileStorageObjectBase::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  return underlying()->GetNodeName(index, buffer, size);
}

result_t XmlFileStorageObjectBase::GetValuesCount(uint32_t* count) { return underlying()->GetValuesCount(count); }

result_t XmlFileStorageObjectBase::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  return underlying()->GetValueName(index, buffer, size);
}

result_t XmlFileStorageObjectBase::WriteValue(std::string_view name, const velk::ValueDescriptor& value,
                                              uint32_t flags) {
  return underlying()->WriteValue(name, value, flags);
}

result_t XmlFileStorageObjectBase::ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) {
  return underlying()->ReadValue(index, value, flags);
}

result_t XmlFileStorageObjectBase::ReadValue(std::string_view name, velk::ValueDescriptor& value,
                                             uint32_t flags) {
  return underlying()->ReadValue(name, value, flags);
}

result_t XmlFileStorageObjectBase::Flush() { return underlying()->Flush(); }

}  // namespace app_core::helpers

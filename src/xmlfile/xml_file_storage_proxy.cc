#include "xmlfile/xml_file_storage_proxy.h"

namespace app_core::helpers {

using velk::result_t;

XmlFileStorageProxy::XmlFileStorageProxy(velk::Ref<IXmlFileStorage> storage) : storage_(std::move(storage)) {}

result_t XmlFileStorageProxy::RemoveNode(std::string_view name) { return storage_->RemoveNode(name); }

result_t XmlFileStorageProxy::GetName(char* buffer, uint32_t* size) { return storage_->GetName(buffer, size); }

result_t XmlFileStorageProxy::GetNodesCount(uint32_t* count) { return storage_->GetNodesCount(count); }

result_t XmlFileStorageProxy::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  return storage_->GetNodeName(index, buffer, size);
}

result_t XmlFileStorageProxy::GetValuesCount(uint32_t* count) { return storage_->GetValuesCount(count); }

result_t XmlFileStorageProxy::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  return storage_->GetValueName(index, buffer, size);
}

result_t XmlFileStorageProxy::WriteValue(std::string_view name, const velk::ValueDescriptor& value,
                                         uint32_t flags) {
  return storage_->WriteValue(name, value, flags);
}

result_t XmlFileStorageProxy::ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) {
  return storage_->ReadValue(index, value, flags);
}

result_t XmlFileStorageProxy::ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) {
  return storage_->ReadValue(name, value, flags);
}

result_t XmlFileStorageProxy::Flush() { return storage_->Flush(); }

IFileLocation* XmlFileStorageProxy::GetLocation() { return storage_->GetLocation(); }

result_t XmlFileStorageProxy::CreateIncludedStorage(IXmlFileStorage**, const std::string&, velk::IStorage*) {
  return velk::errors::kNotImplemented;
}

result_t XmlFileStorageProxy::GetNode(std::string_view name, IXmlFileStorage** child) {
  return storage_->GetNode(name, child);
}

result_t XmlFileStorageProxy::GetNode(uint32_t index, IXmlFileStorage** child) {
  return storage_->GetNode(index, child);
}

result_t XmlFileStorageProxy::CreateNode(std::string_view name, IXmlFileStorage** child) {
  return storage_->CreateNode(name, child);
}

}  // namespace app_core::helpers

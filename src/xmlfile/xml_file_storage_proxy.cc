#include "xmlfile/xml_file_storage_proxy.h"

namespace app_core::helpers {

using velk::result_t;

XmlFileStorageProxy::XmlFileStorageProxy(velk::Ref<IXmlFileStorage> storage) : storage_(std::move(storage)) {}

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

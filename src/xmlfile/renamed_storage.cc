#include "xmlfile/renamed_storage.h"

namespace app_core::helpers {

RenamedStorage::RenamedStorage(velk::Ref<IXmlFileStorage> storage, std::string name)
    : XmlFileStorageProxy(std::move(storage)), name_(std::move(name)) {}

velk::result_t RenamedStorage::GetName(char* buffer, uint32_t* size) { return velk::copyName(name_, buffer, size); }

velk::result_t RenamedStorage::CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                                     velk::IStorage* documentRoot) {
  return wrapped()->CreateIncludedStorage(out, path, documentRoot);
}

}  // namespace app_core::helpers

// Presents a located storage under another name (for example an input
// file's root as "block"); makes included storages through the wrapped one.
#pragma once

#include <string>

#include "xmlfile/xml_file_storage_proxy.h"

namespace app_core::helpers {

class RenamedStorage : public XmlFileStorageProxy {
 public:
  RenamedStorage(velk::Ref<IXmlFileStorage> storage, std::string name);

  velk::result_t GetName(char* buffer, uint32_t* size) override;
  velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                       velk::IStorage* documentRoot) override;
  // Children pass through unchanged.
  bool ReopensChildrenFreely() override { return wrapped()->ReopensChildrenFreely(); }

 private:
  std::string name_;
};

}  // namespace app_core::helpers

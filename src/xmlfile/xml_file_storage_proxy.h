// Passes every operation to a wrapped located storage; the base of the
// renaming and filtering views. It does not make included storages: a view
// decides itself whether includes pass through it.
#pragma once

#include "xmlfile/xml_file_storage_object_base.h"

namespace app_core::helpers {

class XmlFileStorageProxy : public XmlFileStorageObjectBase {
 public:
  explicit XmlFileStorageProxy(velk::Ref<IXmlFileStorage> storage);

  using IXmlFileStorage::CreateNode;
  using IXmlFileStorage::GetNode;

  IFileLocation* GetLocation() override;
  // kNotImplemented.
  velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                       velk::IStorage* documentRoot) override;
  velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) override;
  velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) override;

 protected:
  IXmlFileStorage* wrapped() const { return storage_.get(); }
  velk::IStorage* underlying() override { return storage_.get(); }

 private:
  velk::Ref<IXmlFileStorage> storage_;
};

}  // namespace app_core::helpers

// Common base of the located storages: the object model for
// IXmlFileStorage, the plain storage operations passed to the node
// underneath, and that node's position interface, so that helpers can name a
// node's row and column through any number of wrappers.
#pragma once

#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

class XmlFileStorageObjectBase : public velk::ObjectBase<IXmlFileStorage> {
 public:
  velk::result_t QueryInterface(velk::iid_t iid, void** out) override;

  using IXmlFileStorage::CreateNode;
  using IXmlFileStorage::GetNode;

  velk::result_t RemoveNode(std::string_view name) override;
  velk::result_t GetName(char* buffer, uint32_t* size) override;
  velk::result_t GetNodesCount(uint32_t* count) override;
  velk::result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t GetValuesCount(uint32_t* count) override;
  velk::result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t Flush() override;

 protected:
  // The node the operations above go to; it also answers for the position.
  // Null only in a view made empty, which overrides the operations itself.
  virtual velk::IStorage* underlying() = 0;
};

}  // namespace app_core::helpers

// Common base of the located storages: the object model for
// IXmlFileStorage, and the position interface of the framework node
// underneath, so that helpers can name a node's row and column through any
// number of wrappers.
#pragma once

#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

class XmlFileStorageObjectBase : public velk::ObjectBase<IXmlFileStorage> {
 public:
  velk::result_t QueryInterface(velk::iid_t iid, void** out) override;

 protected:
  // The object that answers for the node's position, or null.
  virtual velk::IObject* positionSource() = 0;
};

}  // namespace app_core::helpers

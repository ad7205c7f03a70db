#include "xmlfile/xml_file_storage_object_base.h"

namespace app_core::helpers {

velk::result_t XmlFileStorageObjectBase::QueryInterface(velk::iid_t iid, void** out) {
  velk::result_t r = ObjectBase::QueryInterface(iid, out);
  if (r != velk::errors::kNoInterface || iid != velk::IStoragePosition::IID) return r;
  velk::IObject* source = positionSource();
  return source ? source->QueryInterface(iid, out) : r;
}

}  // namespace app_core::helpers

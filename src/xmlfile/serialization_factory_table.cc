#include "xmlfile/serialization_factory_table.h"

#include "xmlfile/xml_storage_factory.h"

namespace velk {

result_t serializationFactoryTable(IServiceLocator*, clsid_t clsid, IObjectFactory** out) {
  if (!out) return errors::kInvalidArgument;
  *out = nullptr;
  if (clsid != kXmlStorageFactoryClass) return errors::kNotImplemented;
  *out = make<SimpleObjectFactory<XmlStorageFactory>>().detach();
  return errors::kOk;
}

}  // namespace velk

#include "xmlfile/serialization_factory_table.h"

namespace velk {

result_t serializationFactoryTable(IServiceLocator*, clsid_t, IObjectFactory** out) {
  *out = nullptr;
  return errors::kNotImplemented;
}

}  // namespace velk

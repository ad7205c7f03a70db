#pragma once

#include "velk/service_locator.h"

namespace velk {

// The framework's serialization and storage components: the XML storage
// factory, the values-free storage adapter factory and the serializer factory.
result_t serializationFactoryTable(IServiceLocator* locator, clsid_t clsid, IObjectFactory** out);

}  // namespace velk

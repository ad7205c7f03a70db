#pragma once

#include "velk/service_locator.h"

namespace app_core {

// The compiler's framework classes: the serializer factory (0x66053A85) and
// the values-free storage adapter factory (0x51EFB850). kNotImplemented for
// any other class, so it can be chained behind another table.
velk::result_t compilerFactoryTable(velk::IServiceLocator* locator, velk::clsid_t clsid,
                                    velk::IObjectFactory** out);

}  // namespace app_core

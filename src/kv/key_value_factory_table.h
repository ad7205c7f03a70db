#pragma once

#include "velk/service_locator.h"

namespace data_storage {

// The key-value storage library's classes.
velk::result_t keyValueFactoryTable(velk::IServiceLocator* locator, velk::clsid_t clsid,
                                    velk::IObjectFactory** out);

}  // namespace data_storage

// What the run phase hands every command body.
#pragma once

#include "console/storage_error_reporter.h"
#include "velk/service_locator.h"

namespace app_core {

namespace helpers {
class StorageErrorReporterProxy;
}

struct CommandEnvironment {
  velk::IServiceLocator* locator = nullptr;
  // The counting reporter proxy of the run.
  helpers::StorageErrorReporter* reporter = nullptr;
  // The same proxy, for its error and warning counts
  // (console/storage_error_reporter_proxy.h).
  helpers::StorageErrorReporterProxy* counter = nullptr;
  // The XML storage factory (class 0x6332D8FD, interface 0x47EAA67D).
  velk::IObject* xmlStorageFactory = nullptr;
};

}  // namespace app_core

// Builds the configuration model from the source configuration: resolves
// every reference by name, checks uniqueness and consistency, derives hosts,
// default access points, flags words and default settings. Every problem is
// reported and the record concerned left out; building never stops early.
#pragma once

#include "front/configuration_model.h"
#include "console/storage_error_reporter.h"

namespace app_core {

ConfigurationModel buildModel(const SourceConfiguration& source, helpers::StorageErrorReporter* reporter);

// The flags word of a service: autostart 0x4, create on update 0x8, and the
// lookup priority in bits 24 to 31.
uint32_t serviceFlags(const SourceService& service);

}  // namespace app_core

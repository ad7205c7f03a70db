#pragma once

#include "front/configuration_model.h"
#include "writers/db/storage_context.h"
#include "schedule/values_free_storage_factory.h"

namespace app_core {

// Writes a service's settings record under "<name>/settings" and
// "<name>/factory_settings" of the settings database.
velk::result_t writeServiceSettings(const ModelService& service, const StorageContext& settings,
                                    velk::IValuesFreeStorageFactory* adapterFactory);

}  // namespace app_core

#include "writers/db/service_settings_writer.h"

#include "velk/exception.h"
#include "writers/db/settings_record.h"

namespace app_core {

velk::result_t writeServiceSettings(const ModelService& service, const StorageContext& settings,
                                    velk::IValuesFreeStorageFactory* adapterFactory) {
  if (!service.settings) return velk::errors::kOk;
  const ServiceSettings& record = *service.settings;
  try {
    for (const char* suffix : {"/settings", "/factory_settings"}) {
      velk::result_t r = writeSettingsRecord(settings, service.name + suffix, record.settingsTypeId, record.node.get(),
                                             adapterFactory);
      if (velk::failed(r)) return r;
    }
  } catch (...) {
    // A name the stored document cannot hold is a failed write like any other.
    return velk::resultOfCurrentException();
  }
  return velk::errors::kOk;
}

}  // namespace app_core

#include "compiler/service_settings_writer.h"

namespace app_core {

velk::result_t writeServiceSettings(const ModelService&, const StorageContext&,
                                    velk::IValuesFreeStorageFactory*) {
  return velk::errors::kNotImplemented;
}

}  // namespace app_core

#include "front/no_file_settings.h"

#include "xmlfile/empty_storage.h"

namespace app_core {

NoFileSettings::NoFileSettings()
    : node_(velk::make<helpers::EmptyStorage>()), location_(velk::make<helpers::FileLocation>("[no file]")) {}

}  // namespace app_core

#include "console/output_directory.h"

#include "console/helpers_exceptions.h"
#include "platform/path_rules.h"

namespace app_core {

void createOutputDirectory(const std::string& path, velk::SourcePos pos) {
  std::error_code error;
  if (velk::createParentDirectories(path, error)) return;
  velk::result_t r = error ? velk::fromErrno(error.value()) : velk::errors::kPathNotFound;
  throw helpers::Exception(pos, "Can't create directory for output file: " + path, r);
}

}  // namespace app_core

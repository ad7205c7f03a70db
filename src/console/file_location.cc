#include "console/file_location.h"

namespace app_core::helpers {

std::string locationText(IFileLocation* location) {
  std::string text = location->GetFileName();
  if (location->GetLine() != kNoLine) text += "(" + std::to_string(location->GetLine()) + ")";
  return text;
}

}  // namespace app_core::helpers

#include "velk/storage.h"

#include <cstring>

namespace velk {

result_t copyName(std::string_view name, char* buffer, uint32_t* size) {
  if (!size) return errors::kInvalidArgument;
  auto needed = static_cast<uint32_t>(name.size() + 1);
  if (!buffer) {
    *size = needed;
    return errors::kOk;
  }
  if (*size < needed) return errors::kBufferTooSmall;
  std::memcpy(buffer, name.data(), name.size());
  buffer[name.size()] = '\0';
  *size = static_cast<uint32_t>(name.size());
  return errors::kOk;
}

}  // namespace velk

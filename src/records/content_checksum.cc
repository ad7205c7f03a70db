#include "records/content_checksum.h"

#include "velk/crc32.h"

namespace app_core {

uint32_t contentChecksum(const void* bytes, size_t size) { return velk::crc32Update(0, bytes, size); }

}  // namespace app_core

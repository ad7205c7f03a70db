#include "velk/crc32.h"

#include <zlib.h>

namespace velk {

// zlib presets and complements the register on each call; undoing both on
// the way in and out leaves the raw register this interface promises.
uint32_t crc32Update(uint32_t state, const void* data, size_t size) {
  return ~static_cast<uint32_t>(::crc32_z(~state & 0xFFFFFFFFu, static_cast<const Bytef*>(data), size));
}

uint32_t crc32(std::string_view bytes) { return ~crc32Update(0xFFFFFFFFu, bytes.data(), bytes.size()); }

}  // namespace velk

// The checksum by which a persistent storage node recognises content it has
// already stored.
#pragma once

#include <cstddef>
#include <cstdint>

namespace app_core {

// The CRC-32 table of the reflected IEEE 802.3 polynomial, but with the
// register starting at 0 and no final inversion.
uint32_t contentChecksum(const void* bytes, size_t size);

}  // namespace app_core

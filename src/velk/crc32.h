// The common CRC-32 (IEEE 802.3, zlib): reflected polynomial 0xEDB88320.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velk {

// Feeds `size` bytes into a raw CRC register; no preset, no final complement.
uint32_t crc32Update(uint32_t state, const void* data, size_t size);

// The standard checksum of `bytes`: register preset to all ones, result
// complemented. crc32("123456789") == 0xCBF43926.
uint32_t crc32(std::string_view bytes);

}  // namespace velk

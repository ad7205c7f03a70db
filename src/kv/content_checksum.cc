#include "kv/content_checksum.h"

#include <array>

namespace app_core {
namespace {

constexpr std::array<uint32_t, 256> makeTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kTable = makeTable();

}  // namespace

uint32_t contentChecksum(const void* bytes, size_t size) {
  const auto* b = static_cast<const uint8_t*>(bytes);
  uint32_t c = 0;
  for (size_t i = 0; i < size; ++i) c = (c >> 8) ^ kTable[(c ^ b[i]) & 0xFF];
  return c;
}

}  // namespace app_core

#include "velk/crc32.h"

#include <array>

namespace velk {
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

uint32_t crc32Update(uint32_t state, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) state = kTable[(state ^ bytes[i]) & 0xFF] ^ (state >> 8);
  return state;
}

uint32_t crc32(std::string_view bytes) { return ~crc32Update(0xFFFFFFFFu, bytes.data(), bytes.size()); }

}  // namespace velk

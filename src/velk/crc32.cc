#include "velk/crc32.h"

#include <array>

namespace velk {
namespace {

// Table k gives the register's change from a byte followed by k zero bytes,
// so that eight bytes are taken per step ("slicing by 8"): records are
// checksummed whole each time they are written.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables makeTables() {
  Tables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][i] = c;
  }
  for (size_t k = 1; k < tables.size(); ++k)
    for (uint32_t i = 0; i < 256; ++i) tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
  return tables;
}

constexpr Tables kTables = makeTables();

uint32_t littleEndian32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

uint32_t crc32Update(uint32_t state, const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  const auto& t = kTables;
  for (; size >= 8; bytes += 8, size -= 8) {
    uint32_t low = littleEndian32(bytes) ^ state;
    uint32_t high = littleEndian32(bytes + 4);
    state = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
            t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (; size > 0; ++bytes, --size) state = t[0][(state ^ *bytes) & 0xFF] ^ (state >> 8);
  return state;
}

uint32_t crc32(std::string_view bytes) { return ~crc32Update(0xFFFFFFFFu, bytes.data(), bytes.size()); }

}  // namespace velk

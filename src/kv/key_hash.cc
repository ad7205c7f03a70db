#include "kv/key_hash.h"

namespace data_storage {

uint32_t keyHash(ByteRange key) {
  uint32_t h = 0;
  for (const uint8_t* b = key.begin; b != key.end; ++b) h ^= *b + 0x9E3779B9u + (h << 6) + (h >> 2);
  return h;
}

}  // namespace data_storage

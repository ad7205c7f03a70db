// The 32-bit hash of a record key. Stored files depend on it: a different
// hash leaves every existing record unfindable by key.
#pragma once

#include <cstdint>

#include "kv/key_value_storage_interfaces.h"

namespace data_storage {

uint32_t keyHash(ByteRange key);

}  // namespace data_storage

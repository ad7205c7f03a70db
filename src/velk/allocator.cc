#include "velk/allocator.h"

#include <cstdlib>

namespace velk {

result_t AllocStd::Allocate(size_t size, void** block) {
  if (!block) return errors::kInvalidArgument;
  *block = std::malloc(size);
  return *block || size == 0 ? errors::kOk : errors::kOutOfMemory;
}

result_t AllocStd::Reallocate(void* old, size_t size, void** block) {
  if (!block) return errors::kInvalidArgument;
  void* moved = std::realloc(old, size);
  if (!moved && size != 0) return errors::kOutOfMemory;
  *block = moved;
  return errors::kOk;
}

result_t AllocStd::Free(void* block) {
  std::free(block);
  return errors::kOk;
}

}  // namespace velk

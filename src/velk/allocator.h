// The memory allocator service every framework object can ask the locator for.
#pragma once

#include <cstddef>

#include "velk/service_locator.h"

namespace velk {

struct IAllocator : IObject {
  static constexpr iid_t IID = 0x9CCA5603;
  virtual result_t Allocate(size_t size, void** block) = 0;
  // On failure the old block stays valid and `*block` is left unchanged.
  virtual result_t Reallocate(void* old, size_t size, void** block) = 0;
  virtual result_t Free(void* block) = 0;
};

// The runtime heap behind the allocator interface.
class AllocStd : public ObjectBase<IAllocator> {
 public:
  AllocStd() = default;
  explicit AllocStd(IServiceLocator*) {}

  result_t Allocate(size_t size, void** block) override;
  result_t Reallocate(void* old, size_t size, void** block) override;
  result_t Free(void* block) override;
};

}  // namespace velk

#include "velk/object.h"

namespace velk {
namespace {
std::atomic<int32_t> gLiveObjects{0};
}

int32_t liveObjectCount() { return gLiveObjects.load(); }

namespace detail {
void objectCreated() { ++gLiveObjects; }
void objectDestroyed() { --gLiveObjects; }
}  // namespace detail

}  // namespace velk

#include "console/stream_buffer_tracer_proxy.h"

namespace app_core::helpers {

uint32_t consoleThreshold(int32_t messageLevel) {
  switch (messageLevel) {
    case 0: return 0;
    case 1: return velk::trace_level::kError;
    case 2: return velk::trace_level::kWarning;
    case 3: return velk::trace_level::kInfo;
    default: return velk::trace_level::kAny;
  }
}

}  // namespace app_core::helpers

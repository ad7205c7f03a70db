// The identifier by which the scheduler's stored data names a task's
// schedule.
#pragma once

#include <cstdint>
#include <string_view>

namespace app_core {

// A CRC-32 over the name's UTF-16 code units as little-endian bytes, with
// the register starting at 0 and no final complement (so "" gives 0).
uint32_t scheduleId(std::string_view taskName);

}  // namespace app_core

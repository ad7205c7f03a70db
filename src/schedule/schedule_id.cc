#include "schedule/schedule_id.h"

#include "velk/crc32.h"
#include "xmlfile/utf8.h"

namespace app_core {
namespace {

uint32_t addCodeUnit(uint32_t state, uint16_t unit) {
  const uint8_t bytes[2] = {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)};
  return velk::crc32Update(state, bytes, sizeof bytes);
}

}  // namespace

uint32_t scheduleId(std::string_view taskName) {
  uint32_t state = 0;
  for (wchar_t c : velk::xml::fromUtf8(taskName)) {
    auto point = static_cast<uint32_t>(c);
    if (point < 0x10000) {
      state = addCodeUnit(state, static_cast<uint16_t>(point));
    } else {
      point -= 0x10000;
      state = addCodeUnit(state, static_cast<uint16_t>(0xD800 + (point >> 10)));
      state = addCodeUnit(state, static_cast<uint16_t>(0xDC00 + (point & 0x3FF)));
    }
  }
  return state;
}

}  // namespace app_core

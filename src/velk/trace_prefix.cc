#include "velk/trace_prefix.h"

#include <cstdio>
#include <ctime>

namespace velk::tracer {
namespace {

std::string localTimeText(std::chrono::system_clock::time_point time) {
  using namespace std::chrono;
  std::time_t seconds = system_clock::to_time_t(time);
  auto millis = duration_cast<milliseconds>(time.time_since_epoch()).count() % 1000;
  if (millis < 0) millis += 1000;
  std::tm parts{};
  localtime_r(&seconds, &parts);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", parts.tm_hour, parts.tm_min,
                parts.tm_sec, static_cast<int>(millis));
  return buffer;
}

std::string identifierText(uint64_t id) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(id));
  return buffer;
}

}  // namespace

std::string formatPrefix(std::string_view format, const TraceRecord& record) {
  std::string prefix;
  for (size_t i = 0; i < format.size(); ++i) {
    char directive = i + 1 < format.size() && format[i] == '%' ? format[i + 1] : '\0';
    switch (directive) {
      case 'X': prefix += localTimeText(record.time); break;
      case 'I': prefix += identifierText(record.id); break;
      case 'p': prefix += traceLevelName(record.level); break;
      default: prefix += format[i]; continue;
    }
    ++i;
  }
  return prefix;
}

}  // namespace velk::tracer

#include "kv/operation_guard.h"

#include <exception>

namespace data_storage {

void kvTrace(velk::ITracer* tracer, uint32_t level, std::string_view text) {
  if (!tracer) return;
  std::string line = "kv_st\t";
  line += text;
  velk::trace(tracer, level, line);
}

std::string quoted(std::string_view text) {
  std::string result = "\"";
  result += text;
  result += '"';
  return result;
}

velk::result_t traceCurrentException(velk::ITracer* tracer) {
  try {
    try {
      throw;
    } catch (const velk::Exception& e) {
      kvTrace(tracer, velk::trace_level::kError, e.displayText());
    } catch (const std::exception& e) {
      kvTrace(tracer, velk::trace_level::kError, e.what());
    } catch (...) {
    }
  } catch (...) {
    // A trace that fails must not hide the operation's own result.
  }
  return velk::resultOfCurrentException();
}

}  // namespace data_storage

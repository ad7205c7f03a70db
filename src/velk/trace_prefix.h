// The prefix in front of every trace-file line.
#pragma once

#include <string>
#include <string_view>

#include "velk/tracer.h"

namespace velk::tracer {

// Expands "%X" to the record's local time "HH:MM:SS.mmm", "%I" to "0x" and
// the identifier in hexadecimal without leading zeros, "%p" to the level
// name; everything else, unknown directives included, is copied.
std::string formatPrefix(std::string_view format, const TraceRecord& record);

}  // namespace velk::tracer

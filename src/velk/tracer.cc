#include "velk/tracer.h"

namespace velk {

const char* traceLevelName(uint32_t level) {
  static const char* const kNames[] = {"NON", "ALW", "CRT", "ERR", "DNG", "WRN",
                                       "IMP", "INF", "DBG", "PRN", "ANY"};
  uint32_t index = level / 100;
  return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "UNK";
}

void trace(ITracer* tracer, uint32_t level, std::string_view text) {
  if (!tracer) return;
  TraceRecord record;
  if (failed(tracer->GetRecord(level, record))) return;
  record.text.assign(text);
  tracer->CommitRecord(record);
}

}  // namespace velk

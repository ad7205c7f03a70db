// The framework tracer: records at numeric levels (smaller is more severe).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "velk/object.h"

namespace velk {

namespace trace_level {
constexpr uint32_t kAlways = 100;
constexpr uint32_t kCritical = 200;
constexpr uint32_t kError = 300;
constexpr uint32_t kDanger = 400;
constexpr uint32_t kWarning = 500;
constexpr uint32_t kImportant = 600;
constexpr uint32_t kInfo = 700;
constexpr uint32_t kDebug = 800;
constexpr uint32_t kPrint = 900;
constexpr uint32_t kAny = 1000;
}  // namespace trace_level

// "NON", "ALW", ... by the level rounded down to a multiple of 100.
const char* traceLevelName(uint32_t level);

// A record handed out by a tracer; the caller composes `text` (UTF-8).
// The tracer stamps it with its time and an identifier of its own.
struct TraceRecord {
  uint32_t level = 0;
  std::string text;
  std::chrono::system_clock::time_point time{};
  uint64_t id = 0;
};

struct ITracer : IObject {
  static constexpr iid_t IID = 0x6EF3329B;
  // Fails when the tracer declines the level; nothing is composed then.
  virtual result_t GetRecord(uint32_t level, TraceRecord& record) = 0;
  virtual result_t CommitRecord(TraceRecord& record) = 0;
  // Whether a record at `level` would be written anywhere, so that a sender
  // may skip the work for one nobody keeps; asking changes nothing. "Yes"
  // is always a safe answer.
  virtual bool Writes(uint32_t /*level*/) { return true; }
};

// Writes one record when the tracer accepts the level.
void trace(ITracer* tracer, uint32_t level, std::string_view text);

}  // namespace velk

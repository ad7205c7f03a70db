// Owns the tracer of a run: builds it with its demultiplexor and, when a
// trace file is named, a file channel, and gives it to the locator.
#pragma once

#include <string>

#include "velk/basic_service_locator.h"
#include "velk/tracer.h"

namespace app_core {

struct TracerSettings {
  uint32_t level = velk::trace_level::kAny;
  std::string filePath;  // empty: no trace file
  std::string prefixFormat = "%X %I %p ";
};

class TracerSubsystem {
 public:
  // Throws when the tracer cannot be configured or the trace file cannot be
  // created; writes the "initialized" record when done.
  TracerSubsystem(test::BasicServiceLocator& locator, const TracerSettings& settings);
  // Writes the "deinitialized" record and lets go of the tracer.
  ~TracerSubsystem();

  TracerSubsystem(const TracerSubsystem&) = delete;
  TracerSubsystem& operator=(const TracerSubsystem&) = delete;

  velk::ITracer* tracer() const { return tracer_.get(); }

 private:
  velk::Ref<velk::ITracer> tracer_;
};

}  // namespace app_core

// A tracer for operations whose trace output is unwanted.
#pragma once

#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace app_core {

class NullTracer : public velk::ObjectBase<velk::ITracer> {
 public:
  // Both decline with kNotMatched, so no record is ever composed.
  velk::result_t GetRecord(uint32_t, velk::TraceRecord&) override { return velk::errors::kNotMatched; }
  bool Writes(uint32_t) override { return false; }
  velk::result_t CommitRecord(velk::TraceRecord&) override { return velk::errors::kNotMatched; }
};

}  // namespace app_core

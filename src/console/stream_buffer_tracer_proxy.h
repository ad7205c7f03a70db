// Shows the records of the run on the console: every record goes on to the
// inner tracer, and those at or below the console threshold are also
// written, without prefix, to the stream.
#pragma once

#include <ostream>

#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace app_core::helpers {

struct non_copy_assignable {
  non_copy_assignable() = default;
  non_copy_assignable(const non_copy_assignable&) = delete;
  non_copy_assignable& operator=(const non_copy_assignable&) = delete;
};

// The console threshold of a message level: 0 nothing, 1 errors, 2 also
// warnings, 3 also infos, any other value everything.
uint32_t consoleThreshold(int32_t messageLevel);

template <class Stream>
class StreamBufferTracerProxy : public velk::ObjectBase<velk::ITracer>, private non_copy_assignable {
 public:
  StreamBufferTracerProxy(Stream& stream, velk::Ref<velk::ITracer> inner, uint32_t threshold)
      : stream_(stream), inner_(std::move(inner)), threshold_(threshold) {}

  // The console sees only what the inner tracer accepts.
  velk::result_t GetRecord(uint32_t level, velk::TraceRecord& record) override {
    if (!inner_) return velk::errors::kNotMatched;
    return inner_->GetRecord(level, record);
  }

  // The console's levels count as written even when the inner tracer would
  // decline them: "yes" is the safe answer.
  bool Writes(uint32_t level) override { return inner_ && (level <= threshold_ || inner_->Writes(level)); }

  velk::result_t CommitRecord(velk::TraceRecord& record) override {
    if (!inner_) return velk::errors::kNotMatched;
    if (record.level <= threshold_) stream_ << record.text << '\n';
    return inner_->CommitRecord(record);
  }

 private:
  Stream& stream_;
  velk::Ref<velk::ITracer> inner_;
  uint32_t threshold_;
};

}  // namespace app_core::helpers

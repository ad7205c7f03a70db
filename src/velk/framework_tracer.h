// The framework tracer: accepts records up to its level, stamps them and
// hands the finished lines to its channel.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "velk/service_locator.h"
#include "velk/tracer_configuration.h"

namespace velk::tracer {

class FrameworkTracer : public ObjectBase<ITracer, ITracerConfigurator> {
 public:
  FrameworkTracer() = default;
  explicit FrameworkTracer(IServiceLocator*) {}

  // Declines levels above the configured one with kNotMatched.
  result_t GetRecord(uint32_t level, TraceRecord& record) override;
  result_t CommitRecord(TraceRecord& record) override;
  // A level it takes, with a channel that writes somewhere.
  bool Writes(uint32_t level) override;

  result_t SetChannel(ITraceChannel* channel) override;
  result_t SetPrefixFormat(std::string_view format) override;
  result_t SetLevel(uint32_t level) override;

 private:
  std::atomic<uint32_t> level_{0};
  std::atomic<uint64_t> lastId_{0};
  std::mutex mutex_;  // guards the channel and the format
  Ref<ITraceChannel> channel_;
  std::string format_;
};

}  // namespace velk::tracer

// A trace channel that passes every line on to each of its channels.
#pragma once

#include <mutex>
#include <vector>

#include "velk/service_locator.h"
#include "velk/tracer_configuration.h"

namespace velk::tracer {

class DemultiplexorChannel : public ObjectBase<ITraceChannel, IDemultiplexorChannelConfigurator> {
 public:
  DemultiplexorChannel() = default;
  explicit DemultiplexorChannel(IServiceLocator*) {}

  // Writes to every channel; the first failure is returned, but every
  // channel still gets the line.
  result_t Write(const TraceRecord& record, std::string_view line) override;
  result_t AddChannel(ITraceChannel* channel) override;
  // Only when one of its channels does.
  bool WritesAnywhere() override;

 private:
  std::mutex mutex_;
  std::vector<Ref<ITraceChannel>> channels_;
};

}  // namespace velk::tracer

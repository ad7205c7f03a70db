#include "velk/demultiplexor_channel.h"

namespace velk::tracer {

result_t DemultiplexorChannel::Write(const TraceRecord& record, std::string_view line) {
  std::lock_guard lock(mutex_);
  result_t outcome = errors::kOk;
  for (auto& channel : channels_) {
    result_t r = channel->Write(record, line);
    if (failed(r) && succeeded(outcome)) outcome = r;
  }
  return outcome;
}

result_t DemultiplexorChannel::AddChannel(ITraceChannel* channel) {
  if (!channel) return errors::kInvalidArgument;
  std::lock_guard lock(mutex_);
  channels_.emplace_back(channel);
  return errors::kOk;
}

bool DemultiplexorChannel::WritesAnywhere() {
  std::lock_guard lock(mutex_);
  for (auto& channel : channels_)
    if (channel->WritesAnywhere()) return true;
  return false;
}

}  // namespace velk::tracer

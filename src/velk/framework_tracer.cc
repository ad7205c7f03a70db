#include "velk/framework_tracer.h"

#include "velk/trace_prefix.h"

namespace velk::tracer {

result_t FrameworkTracer::GetRecord(uint32_t level, TraceRecord& record) {
  if (level > level_.load()) return errors::kNotMatched;
  record.level = level;
  record.text.clear();
  record.time = std::chrono::system_clock::now();
  record.id = ++lastId_;
  return errors::kOk;
}

result_t FrameworkTracer::CommitRecord(TraceRecord& record) {
  if (record.level > level_.load()) return errors::kNotMatched;
  std::lock_guard lock(mutex_);
  // Without a trace file the channel is an empty demultiplexor: the prefix,
  // a time formatted per record, would be made for nothing.
  if (!channel_ || !channel_->WritesAnywhere()) return errors::kOk;
  return channel_->Write(record, formatPrefix(format_, record) + record.text);
}

bool FrameworkTracer::Writes(uint32_t level) {
  if (level > level_.load()) return false;
  std::lock_guard lock(mutex_);
  return channel_ && channel_->WritesAnywhere();
}

result_t FrameworkTracer::SetChannel(ITraceChannel* channel) {
  std::lock_guard lock(mutex_);
  channel_ = Ref<ITraceChannel>(channel);
  return errors::kOk;
}

result_t FrameworkTracer::SetPrefixFormat(std::string_view format) {
  std::lock_guard lock(mutex_);
  format_.assign(format);
  return errors::kOk;
}

result_t FrameworkTracer::SetLevel(uint32_t level) {
  level_.store(level);
  return errors::kOk;
}

}  // namespace velk::tracer

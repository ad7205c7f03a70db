// The framework tracer's configuration: channels that receive the finished
// trace lines, and the configurators of the tracer and the demultiplexor.
#pragma once

#include <string>
#include <string_view>

#include "velk/tracer.h"

namespace velk::tracer {

// Class identifiers of the tracer pieces in the system services table.
constexpr clsid_t kTracerClass = 0x16FAFD30;
constexpr clsid_t kDemultiplexorChannelClass = 0x50BCFEFB;
constexpr clsid_t kFileChannelClass = 0x5D0C7A12;

// Receives every committed record as one finished line (prefix and text).
struct ITraceChannel : IObject {
  static constexpr iid_t IID = 0x140002B4;
  virtual result_t Write(const TraceRecord& record, std::string_view line) = 0;
  // Whether lines written here go anywhere; "yes" is always a safe answer.
  virtual bool WritesAnywhere() { return true; }
};

// A channel that writes the lines into a file it creates.
struct IFileChannel : ITraceChannel {
  static constexpr iid_t IID = 0x029286C5;
  using Parent = ITraceChannel;
  // Creates (or empties) the file; a platform code when it cannot be made.
  virtual result_t Create(const std::string& path) = 0;
};

struct IDemultiplexorChannelConfigurator : IObject {
  static constexpr iid_t IID = 0x3B9D55E4;
  // Every line written to the demultiplexor goes to each channel, in order.
  virtual result_t AddChannel(ITraceChannel* channel) = 0;
};

struct ITracerConfigurator : IObject {
  static constexpr iid_t IID = 0x71C3A0F8;
  virtual result_t SetChannel(ITraceChannel* channel) = 0;
  // "%X" time, "%I" record identifier, "%p" level name; see formatPrefix.
  virtual result_t SetPrefixFormat(std::string_view format) = 0;
  // Records above this level are declined.
  virtual result_t SetLevel(uint32_t level) = 0;
};

}  // namespace velk::tracer

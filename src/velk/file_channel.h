// A trace channel that writes each line into a file.
#pragma once

#include <mutex>
#include <string>

#include "velk/service_locator.h"
#include "velk/tracer_configuration.h"

namespace velk::tracer {

class FileChannel : public ObjectBase<IFileChannel> {
 public:
  FileChannel() = default;
  explicit FileChannel(IServiceLocator*) {}
  ~FileChannel() override;

  // A missing directory gives kPathNotFound; the file is not created then.
  result_t Create(const std::string& path) override;
  // Writes the line and a line feed at once, so a line is never torn.
  result_t Write(const TraceRecord& record, std::string_view line) override;

 private:
  std::mutex mutex_;
  int fd_ = -1;
};

}  // namespace velk::tracer

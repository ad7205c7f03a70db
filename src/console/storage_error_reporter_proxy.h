// Counts errors and warnings on their way to the wrapped reporter; the
// compile summary reads the counts.
#pragma once

#include <atomic>

#include "console/storage_error_reporter.h"

namespace app_core::helpers {

class StorageErrorReporterProxy : public velk::ObjectBase<StorageErrorReporter> {
 public:
  // `inner` may be empty: then the calls are only counted.
  explicit StorageErrorReporterProxy(velk::Ref<StorageErrorReporter> inner) : inner_(std::move(inner)) {}

  void ReportMessage(std::string_view text) override;
  void ReportError(IFileLocation* location, std::string_view text) override;
  void ReportWarning(IFileLocation* location, std::string_view text) override;
  void ReportInfo(IFileLocation* location, std::string_view text) override;

  uint32_t errorCount() const { return errors_.load(); }
  uint32_t warningCount() const { return warnings_.load(); }

 private:
  velk::Ref<StorageErrorReporter> inner_;
  std::atomic<uint32_t> errors_{0};
  std::atomic<uint32_t> warnings_{0};
};

}  // namespace app_core::helpers

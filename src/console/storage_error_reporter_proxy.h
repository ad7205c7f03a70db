// Counts errors and warnings on their way to the wrapped reporter; the
// compile summary reads the counts. A diagnostic with a location is passed
// on and counted once per run: a source node read more than once (settings
// stored in two records, say) must not report its faults twice.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <unordered_set>

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
  bool ReportsInfo() override;

  uint32_t errorCount() const { return errors_.load(); }
  uint32_t warningCount() const { return warnings_.load(); }

 private:
  // False when the same text was reported at the same location, with the
  // same include chain, before.
  bool firstReport(char kind, IFileLocation* location, std::string_view text);

  velk::Ref<StorageErrorReporter> inner_;
  std::mutex reportedMutex_;
  std::unordered_set<std::string> reported_;
  std::atomic<uint32_t> errors_{0};
  std::atomic<uint32_t> warnings_{0};
};

}  // namespace app_core::helpers

// The console reporter: each diagnostic becomes one trace record at the
// level of its kind.
#pragma once

#include <string>

#include "console/storage_error_reporter.h"
#include "velk/tracer.h"

namespace app_core::helpers {

// "<location>: <word>: <text>" and one "\n\tincluded from: <location>" per
// enclosing location, innermost first; location and text may be absent.
std::string composeDiagnostic(IFileLocation* location, std::string_view word, std::string_view text);

class StorageErrorTracer : public velk::ObjectBase<StorageErrorReporter> {
 public:
  explicit StorageErrorTracer(velk::Ref<velk::ITracer> tracer) : tracer_(std::move(tracer)) {}

  void ReportMessage(std::string_view text) override;
  void ReportError(IFileLocation* location, std::string_view text) override;
  void ReportWarning(IFileLocation* location, std::string_view text) override;
  void ReportInfo(IFileLocation* location, std::string_view text) override;
  bool ReportsInfo() override;

 private:
  void report(uint32_t level, IFileLocation* location, std::string_view word, std::string_view text);

  velk::Ref<velk::ITracer> tracer_;
};

}  // namespace app_core::helpers

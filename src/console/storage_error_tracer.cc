#include "console/storage_error_tracer.h"

namespace app_core::helpers {

std::string composeDiagnostic(IFileLocation* location, std::string_view word, std::string_view text) {
  std::string line;
  if (location) line += locationText(location) + ": ";
  line += word;
  if (!text.empty()) line.append(": ").append(text);
  for (IFileLocation* outer = location ? location->GetIncludedFrom() : nullptr; outer;
       outer = outer->GetIncludedFrom())
    line += "\n\tincluded from: " + locationText(outer);
  return line;
}

void StorageErrorTracer::ReportMessage(std::string_view text) {
  if (!tracer_) return;
  velk::TraceRecord record;
  if (velk::failed(tracer_->GetRecord(velk::trace_level::kAlways, record))) return;
  record.text.assign(text);
  tracer_->CommitRecord(record);
}

void StorageErrorTracer::ReportError(IFileLocation* location, std::string_view text) {
  report(velk::trace_level::kError, location, "Error", text);
}

void StorageErrorTracer::ReportWarning(IFileLocation* location, std::string_view text) {
  report(velk::trace_level::kWarning, location, "Warning", text);
}

void StorageErrorTracer::ReportInfo(IFileLocation* location, std::string_view text) {
  report(velk::trace_level::kInfo, location, "Info", text);
}

bool StorageErrorTracer::ReportsInfo() { return tracer_ && tracer_->Writes(velk::trace_level::kInfo); }

void StorageErrorTracer::report(uint32_t level, IFileLocation* location, std::string_view word,
                                std::string_view text) {
  if (!tracer_) return;
  velk::TraceRecord record;
  // A declined level costs nothing: the text is composed only when wanted.
  if (velk::failed(tracer_->GetRecord(level, record))) return;
  record.text = composeDiagnostic(location, word, text);
  tracer_->CommitRecord(record);
}

}  // namespace app_core::helpers

#include "console/storage_error_reporter_proxy.h"

namespace app_core::helpers {

bool StorageErrorReporterProxy::firstReport(char kind, IFileLocation* location, std::string_view text) {
  if (!location) return true;
  std::string key(1, kind);
  key.append(text);
  for (IFileLocation* at = location; at; at = at->GetIncludedFrom()) {
    key += '\n';
    key += at->GetFileName();
    key += '(' + std::to_string(at->GetLine()) + ')';
  }
  std::lock_guard<std::mutex> guard(reportedMutex_);
  return reported_.insert(std::move(key)).second;
}

bool StorageErrorReporterProxy::ReportsInfo() { return inner_ && inner_->ReportsInfo(); }

void StorageErrorReporterProxy::ReportMessage(std::string_view text) {
  if (inner_) inner_->ReportMessage(text);
}

void StorageErrorReporterProxy::ReportError(IFileLocation* location, std::string_view text) {
  if (!firstReport('E', location, text)) return;
  ++errors_;
  if (inner_) inner_->ReportError(location, text);
}

void StorageErrorReporterProxy::ReportWarning(IFileLocation* location, std::string_view text) {
  if (!firstReport('W', location, text)) return;
  ++warnings_;
  if (inner_) inner_->ReportWarning(location, text);
}

void StorageErrorReporterProxy::ReportInfo(IFileLocation* location, std::string_view text) {
  // Information lines are not counted: one that goes nowhere needs no
  // remembering either (a compile may calculate tens of thousands).
  if (!ReportsInfo()) return;
  if (!firstReport('I', location, text)) return;
  if (inner_) inner_->ReportInfo(location, text);
}

}  // namespace app_core::helpers

#include "console/storage_error_reporter_proxy.h"

namespace app_core::helpers {

void StorageErrorReporterProxy::ReportMessage(std::string_view text) {
  if (inner_) inner_->ReportMessage(text);
}

void StorageErrorReporterProxy::ReportError(IFileLocation* location, std::string_view text) {
  ++errors_;
  if (inner_) inner_->ReportError(location, text);
}

void StorageErrorReporterProxy::ReportWarning(IFileLocation* location, std::string_view text) {
  ++warnings_;
  if (inner_) inner_->ReportWarning(location, text);
}

void StorageErrorReporterProxy::ReportInfo(IFileLocation* location, std::string_view text) {
  if (inner_) inner_->ReportInfo(location, text);
}

}  // namespace app_core::helpers

#include "preprocessor/user_messages_storage_filter.h"

#include "xmlfile/storage_helpers.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

bool UserMessagesStorageFilter::FilterNode(StorageIteratorStack&, IXmlFileStorage* node) {
  if (nodeName(node) != "message") return false;
  IFileLocation* location = node->GetLocation();
  std::string kind;
  if (!readText(node, "kind", kind)) {
    reporter_->ReportInfo(location,
                          "Found 'message' node without 'kind' attribute. Skipped due to backward compatibility reasons.");
    return false;
  }
  // The text is taken as written: references in it are not substituted.
  std::string text;
  if (!readText(node, "", text)) text.clear();
  if (kind == "error") {
    reporter_->ReportError(location, text);
  } else if (kind == "warning") {
    reporter_->ReportWarning(location, text);
  } else if (kind == "info") {
    reporter_->ReportInfo(location, text);
  } else {
    reporter_->ReportError(location, "Invalid 'kind' value. Allowed: 'error', 'warning' and 'info'.");
  }
  return true;
}

}  // namespace app_core::helpers

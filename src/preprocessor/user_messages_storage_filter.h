// Turns "message" elements into diagnostics of their kind and removes them.
#pragma once

#include "console/storage_error_reporter.h"
#include "preprocessor/default_storage_filter.h"

namespace app_core::helpers {

class UserMessagesStorageFilter : public DefaultStorageFilter {
 public:
  explicit UserMessagesStorageFilter(velk::Ref<StorageErrorReporter> reporter) : reporter_(std::move(reporter)) {}

  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

 private:
  velk::Ref<StorageErrorReporter> reporter_;
};

}  // namespace app_core::helpers

// Splices the children of every "block" element in its place.
#pragma once

#include "preprocessor/default_storage_filter.h"

namespace app_core::helpers {

class StorageBlockFilter : public DefaultStorageFilter {
 public:
  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;
};

}  // namespace app_core::helpers

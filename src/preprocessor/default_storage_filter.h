// Base of the filters that only act on nodes: values pass unchanged.
#pragma once

#include "preprocessor/storage_filter.h"

namespace app_core::helpers {

class DefaultStorageFilter : public velk::ObjectBase<IStorageFilter> {
 public:
  void FilterValue(IXmlFileStorage*, velk::ValueDescriptor&) override {}
  bool IsValueHidden(IXmlFileStorage*, std::string_view) override { return false; }
};

}  // namespace app_core::helpers

// Several filters acting as one, asked in the order they were added.
#pragma once

#include <vector>

#include "preprocessor/storage_filter.h"

namespace app_core::helpers {

class CombinedStorageFilter : public velk::ObjectBase<IStorageFilter> {
 public:
  void add(velk::Ref<IStorageFilter> filter) { filters_.push_back(std::move(filter)); }

  // Every filter rewrites the value in turn.
  void FilterValue(IXmlFileStorage* node, velk::ValueDescriptor& value) override;
  // The first filter that hides or consumes decides; later ones are not asked.
  bool IsValueHidden(IXmlFileStorage* node, std::string_view name) override;
  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

 private:
  std::vector<velk::Ref<IStorageFilter>> filters_;
};

}  // namespace app_core::helpers

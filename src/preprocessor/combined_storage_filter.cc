#include "preprocessor/combined_storage_filter.h"

namespace app_core::helpers {

void CombinedStorageFilter::FilterValue(IXmlFileStorage* node, velk::ValueDescriptor& value) {
  for (auto& filter : filters_) filter->FilterValue(node, value);
}

bool CombinedStorageFilter::IsValueHidden(IXmlFileStorage* node, std::string_view name) {
  for (auto& filter : filters_) {
    if (filter->IsValueHidden(node, name)) return true;
  }
  return false;
}

bool CombinedStorageFilter::FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) {
  for (auto& filter : filters_) {
    if (filter->FilterNode(stack, node)) return true;
  }
  return false;
}

}  // namespace app_core::helpers

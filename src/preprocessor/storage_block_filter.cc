#include "preprocessor/storage_block_filter.h"

#include "preprocessor/storage_iterator_stack.h"
#include "preprocessor/storage_text.h"

namespace app_core::helpers {

bool StorageBlockFilter::FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) {
  if (nodeName(node) != "block") return false;
  stack.push(velk::Ref<IXmlFileStorage>(node));
  return true;
}

}  // namespace app_core::helpers

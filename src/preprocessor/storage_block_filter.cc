#include "preprocessor/storage_block_filter.h"

#include "preprocessor/storage_iterator_stack.h"
#include "xmlfile/storage_helpers.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

bool StorageBlockFilter::FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) {
  if (nodeName(node) != "block") return false;
  stack.push(velk::Ref<IXmlFileStorage>(node));
  return true;
}

}  // namespace app_core::helpers

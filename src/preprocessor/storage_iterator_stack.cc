#include "preprocessor/storage_iterator_stack.h"

#include <new>

namespace app_core::helpers {

using velk::result_t;

void StorageIteratorStack::push(velk::Ref<IXmlFileStorage> node) {
  uint32_t count = 0;
  if (node && velk::failed(node->GetNodesCount(&count))) count = 0;
  entries_.push_back(Entry{std::move(node), 0xFFFFFFFFu, count});
}

velk::Ref<IXmlFileStorage> StorageIteratorStack::next() {
  while (!entries_.empty()) {
    Entry& top = entries_.back();
    ++top.position;
    if (top.position < top.count) {
      velk::Ref<IXmlFileStorage> child;
      result_t r = top.node->GetNode(top.position, child.put());
      if (r == velk::errors::kOutOfMemory) throw std::bad_alloc();
      if (velk::succeeded(r) && child) {
        lastParent_ = top.node.get();
        lastPosition_ = top.position;
        return child;
      }
    }
    entries_.pop_back();
  }
  return nullptr;
}

}  // namespace app_core::helpers

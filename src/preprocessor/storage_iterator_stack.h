// The nodes still to be offered to a filter: a stack of (node, position).
// Pushing a node makes its children the next ones offered, before the rest
// of the level below it.
#pragma once

#include <cstdint>
#include <vector>

#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

class StorageIteratorStack {
 public:
  void push(velk::Ref<IXmlFileStorage> node);
  bool empty() const { return entries_.empty(); }
  // The next node to offer, or null once every entry is exhausted.
  velk::Ref<IXmlFileStorage> next();
  // Where the node next() gave was opened: its parent and its index there.
  // Valid until the next call of next().
  IXmlFileStorage* parentOfLast() const { return lastParent_; }
  uint32_t positionOfLast() const { return lastPosition_; }

 private:
  struct Entry {
    velk::Ref<IXmlFileStorage> node;
    uint32_t position;  // of the child offered last; all ones before the first
    uint32_t count;
  };
  std::vector<Entry> entries_;
  IXmlFileStorage* lastParent_ = nullptr;
  uint32_t lastPosition_ = 0;
};

}  // namespace app_core::helpers

// A storage filter decides, node by node, what a filtered view shows: it may
// rewrite values as they are read, hide values, and drop or replace children.
#pragma once

#include <string_view>

#include "velk/storage.h"
#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

class StorageIteratorStack;

struct IStorageFilter : velk::IObject {
  static constexpr velk::iid_t IID = 0x1A7F3E52;

  // Called after a value of `node` has been read into `value`; may rewrite it.
  virtual void FilterValue(IXmlFileStorage* node, velk::ValueDescriptor& value) = 0;
  // True when the value `name` of `node` is to be invisible.
  virtual bool IsValueHidden(IXmlFileStorage* node, std::string_view name) = 0;
  // Offered each child in turn. False keeps the node; true means the filter
  // consumed it, after pushing whatever replaces it onto `stack`.
  virtual bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) = 0;
};

}  // namespace app_core::helpers

// A storage node that knows the file, line and include chain it came from.
#pragma once

#include "console/file_location.h"
#include "velk/storage.h"

namespace app_core::helpers {

struct IXmlFileStorage : velk::IStorage {
  static constexpr velk::iid_t IID = 0x6D41E0B3;
  using Parent = velk::IStorage;

  // The node's location; not add-referenced.
  virtual IFileLocation* GetLocation() = 0;
  // Wraps the root of another parsed document as a storage whose location is
  // `path`, included from this node.
  virtual velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                               velk::IStorage* documentRoot) = 0;
  virtual velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) = 0;
  virtual velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) = 0;
  virtual velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) = 0;
  // The caller will not open the child at `index` again: a view that keeps
  // what it made for that child lets go of it, so that a reader going once
  // through a long list holds one entry at a time, not the whole list.
  virtual void ForgetNode(uint32_t /*index*/) {}
  // True when opening the child at an index again gives a node like the one
  // opened before (same element, name, values and location), with no other
  // effect: a view may then keep the index instead of the node.
  virtual bool ReopensChildrenFreely() { return false; }

  // The plain-storage forms call the located ones.
  velk::result_t CreateNode(std::string_view name, velk::IStorage** child) final;
  velk::result_t GetNode(uint32_t index, velk::IStorage** child) final;
  velk::result_t GetNode(std::string_view name, velk::IStorage** child) final;
};

}  // namespace app_core::helpers

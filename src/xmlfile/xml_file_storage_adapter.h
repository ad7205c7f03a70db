// Attaches a file location to a framework storage node; children opened
// through it carry the same file and include chain with their own line.
#pragma once

#include "xmlfile/xml_file_storage_object_base.h"

namespace app_core::helpers {

class XmlFileStorageAdapter : public XmlFileStorageObjectBase {
 public:
  XmlFileStorageAdapter(velk::Ref<velk::IStorage> node, velk::Ref<IFileLocation> location);
  // A child node: the file name and include chain of `file`, its own line.
  struct ChildOf {
    velk::Ref<IFileLocation> file;
    uint32_t line;
  };
  XmlFileStorageAdapter(velk::Ref<velk::IStorage> node, ChildOf child);

  using IXmlFileStorage::CreateNode;
  using IXmlFileStorage::GetNode;

  IFileLocation* GetLocation() override;
  velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                       velk::IStorage* documentRoot) override;
  velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) override;
  velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) override;
  // A child is a new node over the element at its index each time.
  bool ReopensChildrenFreely() override { return true; }

 protected:
  velk::IStorage* underlying() override { return node_.get(); }

 private:
  // Wraps a child of this node: same file and include chain, its own line.
  velk::result_t wrapChild(velk::result_t found, velk::IStorage* child, IXmlFileStorage** out);

  velk::Ref<velk::IStorage> node_;
  // Gives the children their file name and include chain.
  velk::Ref<IFileLocation> file_;
  // Most nodes are never asked where they are: a child's location is made
  // on the first asking.
  velk::Ref<IFileLocation> location_;
  uint32_t line_ = kNoLine;
};

// The source line of a framework node; kNoLine when it cannot tell.
uint32_t lineOf(velk::IStorage* node);

}  // namespace app_core::helpers

// A node seen through a storage filter. The node's direct children are
// filtered once, when the view is made; each child opened from the view is
// itself a filtered view, made on first opening and kept, so the filter sees
// every node exactly once, in the order the reader walks the tree.
//
// Includes and macros splice whole documents into the view, so a view can
// grow deeper than any one file may be. Opening a child deeper than the
// parser's own limit throws XmlStorageException: the walkers, printers and
// destructors that go over such a tree recurse once per level.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preprocessor/storage_filter.h"
#include "xmlfile/xml_file_storage_proxy.h"

namespace app_core::helpers {

// How a view lists its kept children. kIndexes is for a reader that goes
// once through the tree, forgetting what it has read (ForgetNode): past the
// first few, a child whose parent opens it again as it was is kept as its
// index there, and opened again when asked for, so a list of a million
// children holds no node per child. Views made from a view list as it does.
enum class ChildListing { kNodes, kIndexes };

class FilteredStorage : public XmlFileStorageProxy {
 public:
  // Filters the values and children of `node` through `filter`; `depth` is
  // the number of filtered views above this one.
  FilteredStorage(velk::Ref<IXmlFileStorage> node, velk::Ref<IStorageFilter> filter,
                  ChildListing listing = ChildListing::kNodes, uint32_t depth = 0);
  // An unfiltered view: the values of `valuesSource` (none when null) and the
  // children of `childrenSource` (none when null), taken as they are; name
  // and location come from `valuesSource`. Children that their source opens
  // again as they were are listed by index and handed out anew each time.
  FilteredStorage(velk::Ref<IXmlFileStorage> valuesSource, velk::Ref<IXmlFileStorage> childrenSource);

  // An empty container: no name, no values, no children until appended.
  FilteredStorage() : XmlFileStorageProxy(nullptr) {}

  // Adds a child after the kept ones.
  void appendChild(velk::Ref<IXmlFileStorage> child);

  velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t RemoveNode(std::string_view name) override;
  velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) override;
  velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t GetName(char* buffer, uint32_t* size) override;
  velk::result_t GetNodesCount(uint32_t* count) override;
  velk::result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t GetValuesCount(uint32_t* count) override;
  velk::result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t Flush() override;
  IFileLocation* GetLocation() override;
  velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                       velk::IStorage* documentRoot) override;
  // Drops the child and its view; opening it again is kInvalidState.
  void ForgetNode(uint32_t index) override;
  // An unfiltered view hands out its children as they are: the node kept,
  // or one reopened from its parent (not kept, so that a long list a view
  // above goes through is not held here as well).
  bool ReopensChildrenFreely() override { return !nodeFilter_; }

  using XmlFileStorageProxy::CreateNode;
  using XmlFileStorageProxy::GetNode;

 private:
  static constexpr uint32_t kKept = ~uint32_t(0);
  // A child listed by index keeps its parent and its index there, not a node
  // of its own.
  struct Child {
    velk::Ref<IXmlFileStorage> node;  // the child or its parent; null once forgotten
    velk::Ref<IXmlFileStorage> view;  // the filtered view, once opened
  };
  struct Value {
    std::string name;
    uint32_t position;  // in the values source
  };

  void keepValues(bool filtered);
  void filterChildren();
  void takeChildren(IXmlFileStorage* source);
  void keepChild(velk::Ref<IXmlFileStorage> node, const StorageIteratorStack& stack);
  void addChild(velk::Ref<IXmlFileStorage> node, uint32_t position);
  uint32_t reopenAt(size_t index) const {
    return extras_ && !extras_->reopenAt.empty() ? extras_->reopenAt[index] : kKept;
  }
  velk::result_t openChild(size_t index, velk::Ref<IXmlFileStorage>& node);
  std::string childName(size_t index);
  velk::result_t filteredRead(velk::result_t r, velk::ValueDescriptor& value);
  std::optional<uint32_t> findChild(std::string_view name);
  std::optional<uint32_t> findValue(std::string_view name);
  void checkDepthOfChild(IXmlFileStorage* child) const;

  velk::Ref<IXmlFileStorage> valuesSource_;
  velk::Ref<IStorageFilter> valueFilter_;
  velk::Ref<IStorageFilter> nodeFilter_;
  uint32_t depth_ = 0;
  ChildListing listing_ = ChildListing::kNodes;
  std::vector<Child> children_;
  std::vector<Value> values_;
  // What few views need, made on first use; a view is made per element, so
  // until then all of it costs one pointer. The name indexes are built on
  // the first lookup by name (the earliest child of a name wins);
  // `reopenAt` gives per child its index in its parent, or kKept, once a
  // child is listed by index.
  using NameIndex = std::map<std::string, uint32_t, std::less<>>;
  struct Extras {
    std::optional<NameIndex> childIndex;
    std::optional<NameIndex> valueIndex;
    std::vector<uint32_t> reopenAt;
  };
  Extras& extras();
  std::unique_ptr<Extras> extras_;
};

}  // namespace app_core::helpers

// One key of an output database opened as a node tree. The tree starts from
// the document stored under the key (a new key gets its record at once) and
// is stored back when it is let go after a change.
#pragma once

#include <string>

#include "records/persistent_storage_node.h"
#include "velk/storage.h"
#include "writers/db/storage_context.h"

namespace app_core {

class StorageKey {
 public:
  StorageKey() = default;
  StorageKey(const StorageKey&) = delete;
  StorageKey& operator=(const StorageKey&) = delete;
  // Letting go of an open key stores it too, but nobody hears of a failure.
  ~StorageKey() = default;

  velk::result_t open(const StorageContext& context, const std::string& key);
  // Lets the tree go, which stores it when it was changed, and gives the
  // result of that store. Nodes taken from the tree must be released first,
  // or the tree outlives this call and is stored later, unheard.
  velk::result_t close();

  bool isOpen() const { return static_cast<bool>(root_); }
  velk::IStorage* root() const { return root_.get(); }

 private:
  velk::Ref<velk::IStorage> root_;
  velk::Ref<PersistentStorageNode> node_;
};

}  // namespace app_core

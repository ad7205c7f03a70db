// The node trees of one database's keys, kept open for the length of a run.
// Writers open the same key many times (once per task, for example); each
// reopening hands out the tree already in memory instead of reading and
// parsing the record again, and each tree is printed and stored once, when
// the cache is closed. Everything happens inside the run's transaction, so
// the database ends with the same records as if every opening had read and
// written the record itself.
#pragma once

#include <string>
#include <unordered_map>

#include "records/open_persistent_storage.h"

namespace app_core {

class PersistentStorageCache {
 public:
  PersistentStorageCache(velk::Ref<velk::ITracer> tracer, velk::Ref<data_storage::IIndexedKeyValueStorage> store,
                         velk::Ref<velk::IXmlStorageFactory> xmlFactory);
  // Closes what is still open; failures are not heard then.
  ~PersistentStorageCache();
  PersistentStorageCache(const PersistentStorageCache&) = delete;
  PersistentStorageCache& operator=(const PersistentStorageCache&) = delete;

  // The tree of `key`: the one opened before, or a new one
  // (OpenPersistentStorage).
  velk::result_t open(const std::string& key, velk::IStorage** out);

  // Lets go of every tree; the changed ones store themselves. Call it once
  // the writers have released their nodes; gives the first failure.
  velk::result_t close();

  data_storage::IIndexedKeyValueStorage* store() const { return store_.get(); }

 private:
  struct Entry {
    velk::Ref<velk::IStorage> tree;
    velk::Ref<PersistentStorageNode> node;
  };

  velk::Ref<velk::ITracer> tracer_;
  velk::Ref<data_storage::IIndexedKeyValueStorage> store_;
  velk::Ref<velk::IXmlStorageFactory> xmlFactory_;
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace app_core

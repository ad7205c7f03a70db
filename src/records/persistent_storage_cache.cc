#include "records/persistent_storage_cache.h"

namespace app_core {

using velk::result_t;

PersistentStorageCache::PersistentStorageCache(velk::Ref<velk::ITracer> tracer,
                                               velk::Ref<data_storage::IIndexedKeyValueStorage> store,
                                               velk::Ref<velk::IXmlStorageFactory> xmlFactory)
    : tracer_(std::move(tracer)), store_(std::move(store)), xmlFactory_(std::move(xmlFactory)) {}

PersistentStorageCache::~PersistentStorageCache() { close(); }

result_t PersistentStorageCache::open(const std::string& key, velk::IStorage** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  auto found = entries_.find(key);
  if (found == entries_.end()) {
    Entry entry;
    result_t r =
        OpenPersistentStorage(tracer_.get(), store_.get(), key, xmlFactory_.get(), entry.tree.put(), &entry.node);
    if (velk::failed(r)) return r;
    found = entries_.emplace(key, std::move(entry)).first;
  }
  *out = velk::Ref<velk::IStorage>(found->second.tree).detach();
  return velk::errors::kOk;
}

result_t PersistentStorageCache::close() {
  result_t first = velk::errors::kOk;
  for (auto& [key, entry] : entries_) {
    entry.tree.reset();
    result_t r = entry.node->lastWriteResult();
    if (velk::failed(r) && velk::succeeded(first)) first = r;
  }
  entries_.clear();
  return first;
}

}  // namespace app_core

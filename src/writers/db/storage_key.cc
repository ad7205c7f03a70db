#include "writers/db/storage_key.h"

#include "records/open_persistent_storage.h"

namespace app_core {

velk::result_t StorageKey::open(const StorageContext& context, const std::string& key) {
  close();
  return OpenPersistentStorage(context.tracer.get(), context.database.get(), key, context.xmlFactory.get(), root_.put(),
                               &node_);
}

velk::result_t StorageKey::close() {
  root_.reset();
  velk::result_t r = node_ ? node_->lastWriteResult() : velk::errors::kOk;
  node_.reset();
  return r;
}

}  // namespace app_core

// The path-based factory: opens stores at given paths, makes in-memory
// copies and manages store files.
#pragma once

#include <string>

#include "kv/key_value_factory_interfaces.h"
#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace data_storage {

class KeyValueStorageManager : public velk::ObjectBase<IKeyValueStorageFactory, IKeyValueStorageManager> {
 public:
  explicit KeyValueStorageManager(velk::IServiceLocator* locator);

  velk::result_t CreateStorage(const std::string& path, IIndexedKeyValueStorage** out) override;
  velk::result_t CreateInMemory(const std::string& basePath, IIndexedKeyValueStorage** out) override;

  velk::result_t DeleteStorage(const std::string& path) override;
  velk::result_t ChangeJournalMode(const std::string& path, bool deleteMode) override;
  velk::result_t IsReadOnly(const std::string& path, bool& readOnly) override;

 private:
  velk::Ref<velk::ITracer> tracer_;
};

}  // namespace data_storage

// The name-based factory: stores live in one directory, given as settings.
#pragma once

#include <mutex>
#include <string>

#include "kv/key_value_factory_interfaces.h"
#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace data_storage {

class KeyValueStorageFactoryWithSettings
    : public velk::ObjectBase<INamedKeyValueStorageFactory, IKeyValueFactoryConstruction, IKeyValueFactorySettings> {
 public:
  explicit KeyValueStorageFactoryWithSettings(velk::IServiceLocator* locator);

  velk::result_t CreateStorageByName(const std::string& name, IIndexedKeyValueStorage** out) override;
  velk::result_t DeleteStorageByName(const std::string& name) override;

  velk::result_t Construct(const std::string& directory) override;
  velk::result_t SetSettings(const std::string& directory) override;
  velk::result_t GetSettings(std::string& directory) override;

  // "<directory>/<name>.kvdb"; without a directory the name alone, relative
  // to the working directory. Creates the directory when asked to.
  std::string storePath(const std::string& name, bool createDirectory);

 protected:
  // Runs under the settings lock before a store is created in `directory`.
  virtual void prepareDirectory(const std::string& directory);

  velk::Ref<velk::ITracer> tracer_;

 private:
  std::mutex mutex_;
  std::string directory_;
};

}  // namespace data_storage

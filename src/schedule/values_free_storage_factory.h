// The framework service that presents retained XML nodes as values-free
// storages (schedules and settings in the configuration sources).
#pragma once

#include "velk/service_locator.h"
#include "velk/storage.h"

namespace velk {

constexpr clsid_t kValuesFreeStorageFactoryClassId = 0x51EFB850;

struct IValuesFreeStorageFactory : IObject {
  static constexpr iid_t IID = 0xCFD465F9;
  virtual result_t CreateStorage(IStorage* node, IStorage** out) = 0;
};

class ValuesFreeStorageFactory : public ObjectBase<IValuesFreeStorageFactory> {
 public:
  explicit ValuesFreeStorageFactory(IServiceLocator*) {}
  result_t CreateStorage(IStorage* node, IStorage** out) override;
};

}  // namespace velk

#include "kv/key_value_data_source.h"

#include "kv/operation_guard.h"

namespace data_storage {
namespace {

constexpr const char* kDataSourceSource = "key_value_storage/source/key_value_storage/key_value_data_source";

}  // namespace

KeyValueDataSource::KeyValueDataSource(velk::Ref<velk::ITracer> tracer, velk::Ref<velk::IServiceLocator> locator,
                                       std::string name, uint32_t flags)
    : tracer_(std::move(tracer)), locator_(std::move(locator)), name_(std::move(name)), flags_(flags) {}

velk::Ref<IKeyValueStorageFactory> KeyValueDataSource::factory(uint32_t qualifier) {
  velk::Ref<IKeyValueStorageFactory> found;
  velk::result_t r = locator_ ? locator_->GetService(IKeyValueStorageFactory::IID, qualifier, found.putVoid())
                              : velk::errors::kNoInterface;
  if (velk::succeeded(r) && !found) r = velk::errors::kNoInterface;
  velk::checkResult(r, {kDataSourceSource, __LINE__});
  return found;
}

velk::result_t KeyValueDataSource::CreateStorage(IIndexedKeyValueStorage** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  return guardOperation(tracer_.get(), [&] {
    kvTrace(tracer_.get(), velk::trace_level::kImportant, "Creating storage for data source " + quoted(name_));
    velk::Ref<IIndexedKeyValueStorage> store;
    velk::result_t r;
    if (flags_ & data_source_flags::kInMemory) {
      r = factory(0)->CreateInMemory(name_, store.put());
    } else if (flags_ & data_source_flags::kSecure) {
      r = factory(class_ids::kSecureKeyValueStorageFactoryWithSettings)->CreateStorage(name_, store.put());
    } else {
      r = factory(0)->CreateStorage(name_, store.put());
    }
    velk::checkResult(r, {kDataSourceSource, __LINE__});
    kvTrace(tracer_.get(), velk::trace_level::kInfo, "Create storage succeeded for " + quoted(name_));
    *out = store.detach();
    return velk::errors::kOk;
  });
}

}  // namespace data_storage

#include "velk/basic_service_locator.h"

namespace app_core::test {

using velk::errors::kNoInterface;

velk::result_t BasicServiceLocator::GetService(velk::iid_t iid, uint32_t qualifier, void** out) {
  if (!out) return velk::errors::kInvalidArgument;
  *out = nullptr;
  if (qualifier != 0) return kNoInterface;
  if (iid == velk::IAllocator::IID && allocator_)
    return allocator_->QueryInterface(velk::IAllocator::IID, out);
  if (iid == velk::ITracer::IID && tracer_) return tracer_->QueryInterface(velk::ITracer::IID, out);
  return kNoInterface;
}

velk::Ref<BasicServiceLocator> makeBasicServiceLocator() {
  auto locator = velk::make<BasicServiceLocator>();
  velk::Ref<velk::IAllocator> allocator;
  auto factory = velk::make<velk::SimpleObjectFactory<velk::AllocStd>>();
  velk::checkResult(factory->CreateInstance(locator.get(), velk::IAllocator::IID, allocator.putVoid()),
                    {"helpers/test/basic_service_locator", 61});
  locator->setAllocator(std::move(allocator));
  return locator;
}

}  // namespace app_core::test

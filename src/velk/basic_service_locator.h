// The locator of one run: it hands out exactly two services, the allocator
// and the tracer, and creates nothing of its own.
#pragma once

#include "velk/allocator.h"
#include "velk/service_locator.h"
#include "velk/tracer.h"

namespace app_core::test {

class BasicServiceLocator : public velk::ObjectBase<velk::IServiceLocator> {
 public:
  // Answers the allocator and the tracer for qualifier 0 only; anything else
  // gives kNoInterface with `*out` cleared.
  velk::result_t GetService(velk::iid_t iid, uint32_t qualifier, void** out) override;

  void setAllocator(velk::Ref<velk::IAllocator> allocator) { allocator_ = std::move(allocator); }
  void setTracer(velk::Ref<velk::ITracer> tracer) { tracer_ = std::move(tracer); }

 private:
  velk::Ref<velk::IAllocator> allocator_;
  velk::Ref<velk::ITracer> tracer_;
};

// A locator that already holds a fresh allocator; the tracer comes later.
velk::Ref<BasicServiceLocator> makeBasicServiceLocator();

}  // namespace app_core::test

#include "velk/service_locator.h"

namespace velk {
namespace {

constexpr const char* kLocatorSource = "helpers/test/basic_service_locator";

FactoryTable gTables[3] = {nullptr, nullptr, nullptr};

}  // namespace

void registerFactoryTable(FactoryTableSlot slot, FactoryTable table) {
  gTables[static_cast<int>(slot)] = table;
}

result_t getObjectFactory(IServiceLocator* locator, clsid_t clsid, IObjectFactory** out) {
  *out = nullptr;
  for (FactoryTable table : gTables) {
    if (!table) continue;
    result_t r = table(locator, clsid, out);
    if (r != errors::kNotImplemented) return r;
  }
  return errors::kNotSupported;
}

void traceConstructionFailure(IServiceLocator* locator, const Exception& e) {
  Ref<ITracer> tracer = getService<ITracer>(locator);
  trace(tracer.get(), trace_level::kError, "Exception during object construction: " + e.description());
}

void createObject(IServiceLocator* locator, clsid_t clsid, iid_t iid, void** out) {
  *out = nullptr;
  Ref<IObjectFactory> factory;
  checkResult(getObjectFactory(locator, clsid, factory.put()), {kLocatorSource, 144});
  checkResult(factory->CreateInstance(locator, iid, out), {kLocatorSource, 147});
}

}  // namespace velk

// The service locator and creation of framework objects by class identifier.
#pragma once

#include "velk/exception.h"
#include "velk/object.h"
#include "velk/tracer.h"

namespace velk {

struct IServiceLocator : IObject {
  static constexpr iid_t IID = 0x84B5BC07;
  virtual result_t GetService(iid_t iid, uint32_t qualifier, void** out) = 0;
};

struct IObjectFactory : IObject {
  static constexpr iid_t IID = 0x0B3E57C1;
  virtual result_t CreateInstance(IServiceLocator* locator, iid_t iid, void** out) = 0;
};

// A factory table creates the factory of a class it owns and answers
// kNotImplemented for any other class.
using FactoryTable = result_t (*)(IServiceLocator* locator, clsid_t clsid, IObjectFactory** out);

// The three tables, asked in this order.
enum class FactoryTableSlot { kSerialization = 0, kSystem = 1, kKeyValue = 2 };
void registerFactoryTable(FactoryTableSlot slot, FactoryTable table);

// Asks the tables in order; kNotSupported when none knows the class.
result_t getObjectFactory(IServiceLocator* locator, clsid_t clsid, IObjectFactory** out);

// Creates an object of `clsid` and returns its interface `iid` in `out`;
// throws CheckResultFailedException at the locator's fixed source positions.
void createObject(IServiceLocator* locator, clsid_t clsid, iid_t iid, void** out);

template <class I>
Ref<I> createObject(IServiceLocator* locator, clsid_t clsid, iid_t iid = I::IID) {
  Ref<I> object;
  createObject(locator, clsid, iid, object.putVoid());
  return object;
}

// Gets a service from the locator; empty when it has none.
template <class I>
Ref<I> getService(IServiceLocator* locator, uint32_t qualifier = 0) {
  Ref<I> service;
  if (locator) locator->GetService(I::IID, qualifier, service.putVoid());
  return service;
}

// Traces "Exception during object construction: <description>" at the error
// level when the locator has a tracer.
void traceConstructionFailure(IServiceLocator* locator, const Exception& e);

// A factory whose objects are `T` constructed from the locator. A failing
// constructor becomes a result code, never an exception across the factory.
template <class T>
class SimpleObjectFactory : public ObjectBase<IObjectFactory> {
 public:
  result_t CreateInstance(IServiceLocator* locator, iid_t iid, void** out) override {
    if (!out) return errors::kInvalidArgument;
    *out = nullptr;
    try {
      Ref<T> object = make<T>(locator);
      return object->QueryInterface(iid, out);
    } catch (const Exception& e) {
      traceConstructionFailure(locator, e);
      return resultOfCurrentException();
    } catch (...) {
      return resultOfCurrentException();
    }
  }
};

}  // namespace velk

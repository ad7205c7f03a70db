#include "velk/system_factory_table.h"

#include "velk/demultiplexor_channel.h"
#include "velk/file_channel.h"
#include "velk/framework_tracer.h"

namespace velk {
namespace {

template <class T>
result_t factoryOf(IObjectFactory** out) {
  *out = make<SimpleObjectFactory<T>>().detach();
  return errors::kOk;
}

}  // namespace

result_t systemFactoryTable(IServiceLocator*, clsid_t clsid, IObjectFactory** out) {
  if (!out) return errors::kInvalidArgument;
  *out = nullptr;
  switch (clsid) {
    case tracer::kTracerClass: return factoryOf<tracer::FrameworkTracer>(out);
    case tracer::kDemultiplexorChannelClass: return factoryOf<tracer::DemultiplexorChannel>(out);
    case tracer::kFileChannelClass: return factoryOf<tracer::FileChannel>(out);
    default: return errors::kNotImplemented;
  }
}

}  // namespace velk

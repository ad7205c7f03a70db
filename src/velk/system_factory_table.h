// The framework's system services that the tool creates by class identifier:
// the tracer, its demultiplexor channel and its file channel.
#pragma once

#include "velk/service_locator.h"

namespace velk {

result_t systemFactoryTable(IServiceLocator* locator, clsid_t clsid, IObjectFactory** out);

}  // namespace velk

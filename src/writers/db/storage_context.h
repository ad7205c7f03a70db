// One output database as the writers see it: keys are opened as node trees
// through persistent storage nodes.
#pragma once

#include "kv/key_value_storage_interfaces.h"
#include "velk/object.h"
#include "velk/tracer.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

struct StorageContext {
  velk::Ref<data_storage::IIndexedKeyValueStorage> database;
  // A null tracer: storage messages of the writers are discarded.
  velk::Ref<velk::ITracer> tracer;
  velk::Ref<velk::IXmlStorageFactory> xmlFactory;
};

}  // namespace app_core

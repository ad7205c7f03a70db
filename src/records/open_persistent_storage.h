// Node trees kept under the keys of a key-value database.
#pragma once

#include <string>

#include "kv/key_value_storage_interfaces.h"
#include "records/persistent_storage_node.h"
#include "velk/storage.h"
#include "velk/tracer.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

// The node tree stored under `key` in `store`, parsed once; a new key gets
// its record "<root></root>" at once. Flushing the tree, or releasing it
// after a change, stores the printed document back under the key. Failures
// are returned; an exception on the way is traced at level 300. `node`,
// when given, receives the record's node, which tells whether a write-back
// at release failed.
velk::result_t OpenPersistentStorage(velk::ITracer* tracer, data_storage::IIndexedKeyValueStorage* store,
                                     const std::string& key, velk::IXmlStorageFactory* xmlFactory, velk::IStorage** out,
                                     velk::Ref<PersistentStorageNode>* node = nullptr);

}  // namespace app_core

// Settings as the databases keep them: a stored node holding "unique_id", the
// settings type identifier, and a copy of a settings subtree of the sources.
#pragma once

#include <cstdint>
#include <string>

#include "schedule/values_free_storage_factory.h"
#include "velk/storage.h"
#include "writers/db/storage_context.h"

namespace app_core {

// Copies `source` into `target`: each child into the first target child of
// its name (created when there is none), recursively; then every named
// value; then the own value when it is not empty. What the target held
// besides stays; values of the same name are overwritten.
velk::result_t copySettingsTree(velk::IStorage* source, velk::IStorage* target);

// Opens `key`, copies `settings` into it as the values-free adapter presents
// it, writes "unique_id" and stores the key.
velk::result_t writeSettingsRecord(const StorageContext& context, const std::string& key, uint32_t settingsTypeId,
                                   velk::IStorage* settings, velk::IValuesFreeStorageFactory* adapters);

}  // namespace app_core

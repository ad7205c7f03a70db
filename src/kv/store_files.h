// Operations on store files shared by the factories, and the one question a
// command asks of a store file without opening it (its journal mode).
#pragma once

#include <string>

#include "kv/key_value_storage_interfaces.h"
#include "velk/exception.h"
#include "velk/tracer.h"

namespace data_storage {

constexpr const char* kFactorySource = "key_value_storage/source/key_value_storage/key_value_storage_factory";

// Writes the first trace line of a store creation, naming a path or a name.
void traceCreating(velk::ITracer* tracer, const std::string& shownName);

// Opens or creates the file store at `path` and hands out its record
// interface.
void createFileStore(velk::ITracer* tracer, const std::string& path, IIndexedKeyValueStorage** out);

// Whether the file at `path` starts as a store file in WAL journal mode (the
// engine marks it in the two version bytes of its header): such a file is
// not in read-only mode, which a reader can know without opening the store.
// False when the file cannot be read or is no store file.
bool hasWalHeader(const std::string& path);

// Deletes a store file and its companion files; kNotFound when the file does
// not exist. `shownName` is the path or name that the first trace line names.
velk::result_t deleteStoreFiles(velk::ITracer* tracer, const std::string& shownName, const std::string& path);

}  // namespace data_storage

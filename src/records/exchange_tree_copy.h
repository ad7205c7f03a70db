// Copying a record's document tree between a database record and the
// exchange file, in both directions.
#pragma once

#include "velk/exception.h"
#include "velk/storage.h"

namespace app_core {

// Where the exchange file's writer and reader raise their exceptions.
constexpr const char* kExporterSource = "components/vorn_config_compiler/source/exporter";

// Appends copies of the children of `source` to `destination`, recursively,
// then writes the values of `source` under their names, then its text when
// it has one. True when anything was written. A failing step raises
// CheckResultFailedException with its code.
bool copyExchangeTree(velk::IStorage* source, velk::IStorage* destination);

}  // namespace app_core

// Writing a database's records into an exchange file.
#pragma once

#include <string_view>

#include "console/storage_error_reporter.h"
#include "kv/key_value_storage_interfaces.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

// The version of the exchange format this tool writes and accepts.
constexpr std::string_view kExchangeCompilerVersion = "1.10.19.0";

// Appends to `root` a "compiler" element with the version, then one "key"
// element per record of `database` whose value is not empty, in the
// engine's order. A value that is not an XML document is reported as an
// error and left out; other failures raise CheckResultFailedException.
void exportRecords(velk::IStorage* root, data_storage::IIndexedKeyValueStorage* database,
                   velk::IXmlStorageFactory* xmlFactory, helpers::StorageErrorReporter* reporter);

}  // namespace app_core

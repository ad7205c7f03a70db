// Storing the records of an exchange file into a database.
#pragma once

#include "console/storage_error_reporter.h"
#include "kv/key_value_storage_interfaces.h"
#include "velk/tracer.h"
#include "xmlfile/xml_file_storage.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

// Replaces the record of every "key" element under `root` by that
// element's "root" tree. A file of the old format, or of another compiler
// version, is reported as an error and nothing is stored; an existing key
// is reported as a warning. Failures raise CheckResultFailedException;
// records stored until then stay in the caller's transaction.
void importRecords(helpers::IXmlFileStorage* root, data_storage::IIndexedKeyValueStorage* database,
                   velk::ITracer* tracer, velk::IXmlStorageFactory* xmlFactory,
                   helpers::StorageErrorReporter* reporter);

}  // namespace app_core

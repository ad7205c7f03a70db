// Opens and parses an XML source file as a located storage. Failures are
// reported as errors, at the enclosing node's location when there is one,
// and give an empty result; the caller decides whether that is fatal. The
// storages are for reading: the file is opened for reading only, so writing
// one back fails.
#pragma once

#include <string>

#include "console/storage_error_reporter.h"
#include "xmlfile/xml_file_storage.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core::helpers {

// Without an enclosing node the file is a top-level input; with one, it is
// included from that node's location.
velk::Ref<IXmlFileStorage> openXmlFile(velk::IXmlStorageFactory* factory, const std::string& path,
                                       StorageErrorReporter* reporter, IXmlFileStorage* enclosing);

// The same through a factory of its own.
velk::Ref<IXmlFileStorage> openXmlFile(const std::string& path, StorageErrorReporter* reporter,
                                       IXmlFileStorage* enclosing);

}  // namespace app_core::helpers

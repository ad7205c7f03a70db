// Opening the XML documents a command writes: an existing document is
// extended after its root's children, never replaced; a missing or empty file
// gets a new document.
#pragma once

#include <string>
#include <string_view>

#include "console/output_directory.h"
#include "velk/exception.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

// The root of the document at `path`, opened for reading and writing: a new
// root element named `rootName` when the file is missing or empty, else the
// file's own root (whatever its name). The document writes itself back to
// the file on Flush. Failures raise, at positions in `sourceFile`:
// NamedObjectError "Can't open xml file" or "Can't create xml storage" with
// the path, or helpers::Exception 0x8000004B with the parser's text.
velk::Ref<velk::IStorage> openOutputDocument(velk::IXmlStorageFactory* factory, const std::string& path,
                                             std::string_view rootName, const char* sourceFile = kCompilerSource);

}  // namespace app_core

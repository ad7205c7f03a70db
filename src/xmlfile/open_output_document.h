// Opening the XML documents a command writes: an existing document is
// extended after its root's children, never replaced; a missing or empty file
// gets a new document.
#pragma once

#include <string>
#include <string_view>

#include "velk/exception.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

// Where the compile pipeline's opening failures say they were raised.
constexpr const char* kCompilerSource = "components/vorn_config_compiler/source/vorn_config_compiler";

// Creates the directory that will hold `path`, with every missing parent.
// A failure raises helpers::Exception "Can't create directory for output
// file: <path>" with the failure code, at `pos`.
void createOutputDirectory(const std::string& path, velk::SourcePos pos);

// The root of the document at `path`, opened for reading and writing: a new
// root element named `rootName` when the file is missing or empty, else the
// file's own root (whatever its name). The document writes itself back to
// the file on Flush. Failures raise, at positions in `sourceFile`:
// NamedObjectError "Can't open xml file" or "Can't create xml storage" with
// the path, or helpers::Exception 0x8000004B with the parser's text.
velk::Ref<velk::IStorage> openOutputDocument(velk::IXmlStorageFactory* factory, const std::string& path,
                                             std::string_view rootName, const char* sourceFile = kCompilerSource);

}  // namespace app_core

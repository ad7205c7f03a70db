// Opening the XML documents a command writes: an existing document is
// extended after its root's children, never replaced; a missing or empty file
// gets a new document. The document is written into memory; it reaches its
// file, whole, only when the command saves it.
#pragma once

#include <string>
#include <string_view>

#include "console/output_directory.h"
#include "velk/exception.h"
#include "xmlfile/output_file.h"
#include "xmlfile/streamed_xml_storage.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

struct OutputDocument {
  velk::Ref<velk::IStorage> root;
  // Holds what Flush prints, until it is staged and committed.
  velk::Ref<velk::OutputFile> file;
  // True when the file was missing or empty and `root` is a new document.
  bool created = false;
};

// Whether openOutputDocument would start a new document at `path` (there is
// no file, or an empty one), as far as can be told without touching it.
bool outputStartsEmpty(const std::string& path);

// The document at `path`: a new root element named `rootName` when the file
// is missing or empty, else the file's own root (whatever its name). The
// file is read, and its directory checked for writing, but not changed.
// Failures raise, at positions in `sourceFile`: NamedObjectError "Can't open
// xml file" or "Can't create xml storage" with the path, or
// helpers::Exception 0x8000004B with the parser's text.
OutputDocument openOutputDocument(velk::IXmlStorageFactory* factory, const std::string& path,
                                  std::string_view rootName, const char* sourceFile = kCompilerSource);

// Opens the output file at `path` the way openOutputDocument does, for
// output that is not XML: the old bytes are read, a file in the way or a
// directory that takes no new file fails. Gives the failure's code.
velk::result_t loadOutputFile(const std::string& path, velk::Ref<velk::OutputFile>& out);

// Prints the document and stages it beside its file (see OutputFile);
// failures raise CheckResultFailedException at `pos` with `context`.
void stageOutputDocument(const OutputDocument& document, velk::SourcePos pos, const std::string& context = {});

// Stages and commits the document: the file holds the new text or, on any
// failure (raised as by stageOutputDocument), its old one.
void saveOutputDocument(const OutputDocument& document, velk::SourcePos pos, const std::string& context = {});

// Saves `print` in place of the document's content, as saveOutputDocument
// saves a document.
void saveOutputDocument(const OutputDocument& document, velk::StreamedXmlStorage& print, velk::SourcePos pos,
                        const std::string& context = {});

}  // namespace app_core

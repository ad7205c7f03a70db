#include "xmlfile/open_output_document.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "console/helpers_exceptions.h"
#include "xmlfile/file_io.h"

namespace app_core {

using velk::Ref;
using velk::result_t;

namespace {

std::string parseErrorText(const velk::XmlParseError& error, const std::string& path) {
  return "Error '" + error.description + "' parsing xml file: " + path + "(" + std::to_string(error.row) + ")";
}

uint64_t sizeOf(velk::IIO& file, const std::string& path, const char* sourceFile) {
  uint64_t size = 0;
  result_t r = file.GetSize(&size);
  if (velk::failed(r)) throw helpers::NamedObjectError({sourceFile, 1102}, "Can't open xml file", path, r);
  return size;
}

}  // namespace

// The file's old bytes. A file that exists is opened for writing as a test
// that it may be written (a directory or a pipe in its place fails here); a
// missing one needs a directory that takes new files. Nothing is changed.
result_t loadOutputFile(const std::string& path, Ref<velk::OutputFile>& out) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    Ref<velk::IIO> probe;
    result_t r = velk::FileIo::open(path, velk::FileIo::Mode::kReadWrite, probe);
    if (velk::failed(r)) return r;
  }
  std::string directory = std::filesystem::path(path).parent_path().string();
  if (::access(directory.empty() ? "." : directory.c_str(), W_OK | X_OK) != 0) return velk::fromErrno(errno);
  return velk::OutputFile::open(path, out);
}

bool outputStartsEmpty(const std::string& path) {
  std::error_code error;
  auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  return std::filesystem::is_regular_file(status) && std::filesystem::file_size(path, error) == 0 && !error;
}

OutputDocument openOutputDocument(velk::IXmlStorageFactory* factory, const std::string& path,
                                  std::string_view rootName, const char* sourceFile) {
  createOutputDirectory(path, {sourceFile, 1091});
  OutputDocument document;
  result_t r = loadOutputFile(path, document.file);
  if (velk::failed(r)) throw helpers::NamedObjectError({sourceFile, 1098}, "Can't open xml file", path, r);
  if (sizeOf(*document.file, path, sourceFile) == 0) {
    r = factory->CreateDocument(rootName, document.file.get(), 0, document.root.put());
    if (velk::failed(r)) throw helpers::NamedObjectError({sourceFile, 1107}, "Can't create xml storage", path, r);
    document.created = true;
    return document;
  }
  velk::XmlParseError error;
  r = factory->ParseIo(document.file.get(), 0, document.root.put(), &error);
  if (velk::failed(r))
    throw helpers::Exception({sourceFile, 1113}, parseErrorText(error, path), velk::errors::kUnspecified);
  return document;
}

void stageOutputDocument(const OutputDocument& document, velk::SourcePos pos, const std::string& context) {
  velk::checkResult(document.root->Flush(), pos, context);
  velk::checkResult(document.file->stage(), pos, context);
}

void saveOutputDocument(const OutputDocument& document, velk::SourcePos pos, const std::string& context) {
  stageOutputDocument(document, pos, context);
  velk::checkResult(document.file->commit(), pos, context);
}


void saveOutputDocument(const OutputDocument& document, velk::StreamedXmlStorage& print, velk::SourcePos pos,
                        const std::string& context) {
  velk::checkResult(print.printTo(*document.file), pos, context);
  velk::checkResult(document.file->stage(), pos, context);
  velk::checkResult(document.file->commit(), pos, context);
}

}  // namespace app_core

#include "xmlfile/open_output_document.h"

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

Ref<velk::IStorage> openOutputDocument(velk::IXmlStorageFactory* factory, const std::string& path,
                                       std::string_view rootName, const char* sourceFile) {
  createOutputDirectory(path, {sourceFile, 1091});
  Ref<velk::IIO> file;
  result_t r = velk::FileIo::open(path, velk::FileIo::Mode::kReadWrite, file);
  if (velk::failed(r)) throw helpers::NamedObjectError({sourceFile, 1098}, "Can't open xml file", path, r);
  Ref<velk::IStorage> root;
  if (sizeOf(*file, path, sourceFile) == 0) {
    r = factory->CreateDocument(rootName, file.get(), 0, root.put());
    if (velk::failed(r)) throw helpers::NamedObjectError({sourceFile, 1107}, "Can't create xml storage", path, r);
    return root;
  }
  velk::XmlParseError error;
  r = factory->ParseIo(file.get(), 0, root.put(), &error);
  if (velk::failed(r))
    throw helpers::Exception({sourceFile, 1113}, parseErrorText(error, path), velk::errors::kUnspecified);
  return root;
}

}  // namespace app_core

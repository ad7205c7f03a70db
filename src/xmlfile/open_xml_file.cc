#include "xmlfile/open_xml_file.h"

#include "velk/exception.h"
#include "xmlfile/file_io.h"
#include "xmlfile/xml_file_storage_adapter.h"

namespace app_core::helpers {
namespace {

using velk::result_t;

void reportError(StorageErrorReporter* reporter, IXmlFileStorage* enclosing, const std::string& text) {
  if (reporter) reporter->ReportError(enclosing ? enclosing->GetLocation() : nullptr, text);
}

std::string openingError(const std::string& path, result_t r) {
  return "Error opening file \"" + path + "\" (" + velk::applicationText(r) + ")";
}

std::string parsingError(const std::string& path, const velk::XmlParseError& error) {
  return "Error '" + error.description + "' parsing xml file: " + path + "(" + std::to_string(error.row) + ")";
}

velk::Ref<IXmlFileStorage> locate(velk::Ref<velk::IStorage> root, const std::string& path,
                                  IXmlFileStorage* enclosing) {
  velk::Ref<IXmlFileStorage> located;
  if (enclosing) {
    velk::checkResult(enclosing->CreateIncludedStorage(located.put(), path, root.get()),
                      {"velk/util/helpers/storage", 262}, "CreateIncludedStorage");
    return located;
  }
  auto location = velk::make<FileLocation>(nullptr, path, lineOf(root.get()));
  return velk::make<XmlFileStorageAdapter>(std::move(root), std::move(location));
}

}  // namespace

velk::Ref<IXmlFileStorage> openXmlFile(velk::IXmlStorageFactory* factory, const std::string& path,
                                       StorageErrorReporter* reporter, IXmlFileStorage* enclosing) {
  velk::Ref<velk::IIO> file;
  result_t r = velk::FileIo::open(path, velk::FileIo::Mode::kRead, file);
  if (velk::failed(r)) {
    reportError(reporter, enclosing, openingError(path, r));
    return {};
  }
  velk::Ref<velk::IStorage> root;
  velk::XmlParseError error;
  try {
    // Sources are only read: the file is closed once its text is in memory,
    // so that a run through thousands of includes holds no descriptors.
    r = factory->ParseIo(file.get(), velk::kXmlReadOnlyOption, root.put(), &error);
  } catch (const velk::ResultCodeException& e) {
    // The file opened but could not be read to its end.
    reportError(reporter, enclosing, openingError(path, e.code()));
    return {};
  }
  file.reset();
  if (velk::failed(r)) {
    reportError(reporter, enclosing, parsingError(path, error));
    return {};
  }
  return locate(std::move(root), path, enclosing);
}

velk::Ref<IXmlFileStorage> openXmlFile(const std::string& path, StorageErrorReporter* reporter,
                                       IXmlFileStorage* enclosing) {
  auto factory = velk::make<velk::XmlStorageFactory>();
  return openXmlFile(factory.get(), path, reporter, enclosing);
}

}  // namespace app_core::helpers

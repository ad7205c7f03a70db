#include "document_check.h"

#include <cstdio>
#include <cstdlib>

#include "console/storage_error_reporter_proxy.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/xml_storage_factory.h"

namespace hesk_fuzz {

velk::Ref<app_core::helpers::IXmlFileStorage> readBack(const std::string& path) {
  static velk::IXmlStorageFactory* factory = velk::make<velk::XmlStorageFactory>().detach();
  auto counter = velk::make<app_core::helpers::StorageErrorReporterProxy>(nullptr);
  auto root = app_core::helpers::openXmlFile(factory, path, counter.get(), nullptr);
  if (counter->errorCount() != 0) return {};
  return root;
}

void propertyFails(const std::string& what) {
  std::fprintf(stderr, "==%d== property failed: %s\n", 0, what.c_str());
  std::abort();
}

}  // namespace hesk_fuzz

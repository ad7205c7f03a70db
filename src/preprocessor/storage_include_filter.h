// Replaces "include" elements with a "file" attribute by the children of the
// included document's root, presented as a "block" carrying the include
// element's attributes.
#pragma once

#include <string>

#include "console/storage_error_reporter.h"
#include "preprocessor/default_storage_filter.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core::helpers {

class StorageIncludeFilter : public DefaultStorageFilter {
 public:
  StorageIncludeFilter(velk::Ref<StorageErrorReporter> reporter, velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory)
      : reporter_(std::move(reporter)), xmlStorageFactory_(std::move(xmlStorageFactory)) {}

  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

  // `file` as written in an include element of a file at `includingFile`:
  // relative to that file's directory, with "\" read as "/".
  static std::string resolveIncludePath(const std::string& file, const std::string& includingFile);

 private:
  void includeFile(StorageIteratorStack& stack, IXmlFileStorage* node, const std::string& file);
  static bool isIncluding(IFileLocation* location, const std::string& path);

  velk::Ref<StorageErrorReporter> reporter_;
  velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory_;
};

}  // namespace app_core::helpers

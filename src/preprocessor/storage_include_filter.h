// Replaces "include" elements with a "file" attribute by the children of the
// included document's root, presented as a "block" carrying the include
// element's attributes.
#pragma once

#include <filesystem>
#include <string>
#include <unordered_map>

#include "console/storage_error_reporter.h"
#include "preprocessor/default_storage_filter.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core::helpers {

class StorageIncludeFilter : public DefaultStorageFilter {
 public:
  StorageIncludeFilter(velk::Ref<StorageErrorReporter> reporter, velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory)
      : reporter_(std::move(reporter)), xmlStorageFactory_(std::move(xmlStorageFactory)) {}

  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

 private:
  void includeFile(StorageIteratorStack& stack, IXmlFileStorage* node, const std::string& file);
  bool isIncluding(IFileLocation* location, const std::string& path);
  const std::filesystem::path& comparable(const std::string& path);

  velk::Ref<StorageErrorReporter> reporter_;
  velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory_;
  // Resolving a spelling costs a system call per path part, and every
  // include compares against each file of its include chain: resolved once
  // per spelling, a deep chain stays cheap.
  std::unordered_map<std::string, std::filesystem::path> comparable_;
};

}  // namespace app_core::helpers

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
  // Including one of `outputs`, the files the run writes, is an error.
  StorageIncludeFilter(velk::Ref<StorageErrorReporter> reporter, velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory,
                       std::vector<std::string> outputs = {})
      : reporter_(std::move(reporter)), xmlStorageFactory_(std::move(xmlStorageFactory)), outputs_(std::move(outputs)) {}

  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

 private:
  void includeFile(StorageIteratorStack& stack, IXmlFileStorage* node, const std::string& file);
  bool isIncluding(IFileLocation* location, const std::string& path);
  const std::filesystem::path& comparable(const std::string& path);
  // The output that `path` is, or null.
  const std::string* outputAt(const std::string& path) const;

  velk::Ref<StorageErrorReporter> reporter_;
  velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory_;
  std::vector<std::string> outputs_;
  // Resolving a spelling costs a system call per path part, and every
  // include compares against each file of its include chain: resolved once
  // per spelling, a deep chain stays cheap.
  std::unordered_map<std::string, std::filesystem::path> comparable_;
};

}  // namespace app_core::helpers

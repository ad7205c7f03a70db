// Replaces "include" elements with a "file" attribute by the children of the
// included document's root, presented as a "block" carrying the include
// element's attributes.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "console/storage_error_reporter.h"
#include "platform/same_file.h"
#include "preprocessor/default_storage_filter.h"
#include "preprocessor/expansion_budget.h"
#include "preprocessor/persistent_id_set.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core::helpers {

class StorageIncludeFilter : public DefaultStorageFilter {
 public:
  // `budget`, when given, learns the size of every included file. Including
  // one of `outputs`, the files the run writes, is an error.
  StorageIncludeFilter(velk::Ref<StorageErrorReporter> reporter, velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory,
                       velk::Ref<ExpansionBudget> budget = {}, std::vector<std::string> outputs = {})
      : reporter_(std::move(reporter)),
        xmlStorageFactory_(std::move(xmlStorageFactory)),
        budget_(std::move(budget)),
        outputs_(outputs.begin(), outputs.end()) {}

  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

 private:
  // An include element's place: the set of files on its include chain.
  struct Level {
    velk::Ref<IFileLocation> location;  // held, so that its address stays its own
    PersistentIdSet chain;
  };

  void includeFile(StorageIteratorStack& stack, IXmlFileStorage* node, const std::string& file);
  // The files on the chain of a node at `location`, its own file included.
  PersistentIdSet chainAt(IFileLocation* location);
  // One number per file, however spelt.
  uint32_t fileId(const velk::PathIdentity& path);
  // The output that `path` is, or null.
  const std::string* outputAt(const velk::PathIdentity& path) const;

  velk::Ref<StorageErrorReporter> reporter_;
  velk::Ref<velk::IXmlStorageFactory> xmlStorageFactory_;
  velk::Ref<ExpansionBudget> budget_;
  std::vector<velk::PathIdentity> outputs_;
  // Resolving a spelling costs a system call per path part: it is done once
  // per spelling.
  std::unordered_map<std::string, uint32_t> spellings_;
  std::unordered_map<std::string, uint32_t> files_;
  // The chain of every file this filter opened, by the location of the
  // include element that opened it: the enclosing location of every node of
  // that file. Looked up, a level's chain costs no walk along the chain.
  std::unordered_map<IFileLocation*, Level> levels_;
};

}  // namespace app_core::helpers

#include "preprocessor/storage_include_filter.h"

#include <typeinfo>

#include "platform/path_rules.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_iterator_stack.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/renamed_storage.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/utf8.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

bool StorageIncludeFilter::FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) {
  if (nodeName(node) != "include") return false;
  std::string file;
  if (readText(node, "file", file)) {
    includeFile(stack, node, file);
    return true;
  }
  std::string macro;
  if (readText(node, "macro", macro)) return false;
  reporter_->ReportError(node->GetLocation(), "Error: missing required attribute 'file'");
  return true;
}

void StorageIncludeFilter::includeFile(StorageIteratorStack& stack, IXmlFileStorage* node, const std::string& file) {
  if (velk::xml::validUtf8Length(file) != file.size()) throw std::bad_cast();
  IFileLocation* location = node->GetLocation();
  velk::PathIdentity included(velk::resolveAgainstFile(file, location ? location->GetFileName() : std::string()));
  const std::string& path = included.path();
  PersistentIdSet chain = chainAt(location);
  uint32_t id = fileId(included);
  if (chain.contains(id)) {
    reporter_->ReportError(location, "include: '" + path + "' is included recursively");
    return;
  }
  if (const std::string* output = outputAt(included)) {
    reporter_->ReportError(location, "include: '" + path + "' is the same file as the output '" + *output + "'");
    return;
  }
  velk::Ref<IXmlFileStorage> root = xmlStorageFactory_
                                        ? openXmlFile(xmlStorageFactory_.get(), path, reporter_.get(), node)
                                        : openXmlFile(path, reporter_.get(), node);
  if (!root) return;
  if (budget_) budget_->addSourceFile(path);
  if (location) levels_.insert_or_assign(location, Level{velk::Ref(location), chain.with(id)});
  auto view = velk::make<FilteredStorage>(velk::Ref<IXmlFileStorage>(node), root);
  auto block = velk::make<RenamedStorage>(velk::Ref<IXmlFileStorage>(view), "block");
  auto container = velk::make<FilteredStorage>();
  container->appendChild(velk::Ref<IXmlFileStorage>(block));
  stack.push(velk::Ref<IXmlFileStorage>(container));
}

const std::string* StorageIncludeFilter::outputAt(const velk::PathIdentity& path) const {
  for (const velk::PathIdentity& output : outputs_) {
    if (!output.path().empty() && velk::sameFile(path, output)) return &output.path();
  }
  return nullptr;
}

PersistentIdSet StorageIncludeFilter::chainAt(IFileLocation* location) {
  if (!location) return {};
  IFileLocation* enclosing = location->GetIncludedFrom();
  if (enclosing) {
    auto found = levels_.find(enclosing);
    if (found != levels_.end()) return found->second.chain;
  }
  // A top-level file, or one this filter did not open: its chain is
  // gathered once.
  PersistentIdSet chain = chainAt(enclosing).with(fileId(velk::PathIdentity(location->GetFileName())));
  if (enclosing) levels_.emplace(enclosing, Level{velk::Ref(enclosing), chain});
  return chain;
}

// Two spellings of one file have one number, symbolic links included.
uint32_t StorageIncludeFilter::fileId(const velk::PathIdentity& path) {
  auto spelt = spellings_.find(path.path());
  if (spelt != spellings_.end()) return spelt->second;
  uint32_t id = files_.emplace(path.comparable(), static_cast<uint32_t>(files_.size())).first->second;
  spellings_.emplace(path.path(), id);
  return id;
}

}  // namespace app_core::helpers

#include "preprocessor/storage_include_filter.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <typeinfo>

#include "platform/path_rules.h"
#include "platform/same_file.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_iterator_stack.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/utf8.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/renamed_storage.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

namespace fs = std::filesystem;

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
  std::string path = velk::resolveAgainstFile(file, location ? location->GetFileName() : std::string());
  if (isIncluding(location, path)) {
    reporter_->ReportError(location, "include: '" + path + "' is included recursively");
    return;
  }
  if (const std::string* output = outputAt(path)) {
    reporter_->ReportError(location, "include: '" + path + "' is the same file as the output '" + *output + "'");
    return;
  }
  velk::Ref<IXmlFileStorage> root = xmlStorageFactory_
                                        ? openXmlFile(xmlStorageFactory_.get(), path, reporter_.get(), node)
                                        : openXmlFile(path, reporter_.get(), node);
  if (!root) return;
  auto view = velk::make<FilteredStorage>(velk::Ref<IXmlFileStorage>(node), root);
  auto block = velk::make<RenamedStorage>(velk::Ref<IXmlFileStorage>(view), "block");
  auto container = velk::make<FilteredStorage>();
  container->appendChild(velk::Ref<IXmlFileStorage>(block));
  stack.push(velk::Ref<IXmlFileStorage>(container));
}

// Two spellings of one file compare equal, symbolic links included.
const fs::path& StorageIncludeFilter::comparable(const std::string& path) {
  auto found = comparable_.find(path);
  if (found != comparable_.end()) return found->second;
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(path, error);
  return comparable_.emplace(path, error ? fs::path(path).lexically_normal() : canonical).first->second;
}

const std::string* StorageIncludeFilter::outputAt(const std::string& path) const {
  for (const std::string& output : outputs_) {
    if (!output.empty() && velk::sameFile(path, output)) return &output;
  }
  return nullptr;
}

bool StorageIncludeFilter::isIncluding(IFileLocation* location, const std::string& path) {
  const fs::path& target = comparable(path);
  for (; location; location = location->GetIncludedFrom()) {
    if (comparable(location->GetFileName()) == target) return true;
  }
  return false;
}

}  // namespace app_core::helpers

#include "preprocessor/definitions_storage_filter.h"

#include "preprocessor/macro_expansion_storage.h"
#include "preprocessor/product_pattern.h"
#include "preprocessor/storage_iterator_stack.h"
#include "velk/exception.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/utf8.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

namespace {

std::string quoted(std::string_view prefix, std::string_view name, std::string_view suffix) {
  std::string text(prefix);
  text += '\'';
  text += name;
  text += '\'';
  text += suffix;
  return text;
}

// A define's "value" is required: its absence ends the command, with the
// same text a failing read gives.
std::string requireText(IXmlFileStorage* node, std::string_view name) {
  velk::ValueDescriptor value;
  value.type = velk::kTypeText | velk::kTypeByRef;
  velk::result_t r = node->ReadValue(name, value, 0);
  if (velk::succeeded(r)) return std::move(value.text);
  std::string message(name);
  message += " at node " + nodeName(node);
  int row = -1;
  int column = -1;
  auto position = velk::queryInterface<velk::IStoragePosition>(node);
  if (position && velk::succeeded(position->GetPosition(&row, &column))) {
    message += " (row " + std::to_string(row) + ", column " + std::to_string(column) + ")";
  } else {
    row = column = -1;
  }
  throw velk::wrappers::XmlStorageException({"velk/util/helpers/storage", 88}, message, r, row, column);
}

}  // namespace

DefinitionsStorageFilter::DefinitionsStorageFilter(velk::Ref<StorageErrorReporter> reporter,
                                                   const Definitions& definitions, std::string product,
                                                   velk::Ref<ExpansionBudget> budget)
    : reporter_(std::move(reporter)),
      budget_(budget ? std::move(budget) : velk::make<ExpansionBudget>(reporter_)),
      product_(std::move(product)) {
  auto commandLine = velk::Ref<IFileLocation>(velk::make<FileLocation>("[command line]"));
  for (const Definition& definition : definitions) {
    table_.emplace(definition.name, Entry{nullptr, commandLine, definition.value});
  }
  auto builtIn = velk::Ref<IFileLocation>(velk::make<FileLocation>("[built-in]"));
  table_.emplace(kBuiltInName, Entry{nullptr, builtIn, "1"});
}

bool DefinitionsStorageFilter::IsValueHidden(IXmlFileStorage*, std::string_view name) {
  return name == "product" || name == "ifdef" || name == "ifndef";
}

void DefinitionsStorageFilter::FilterValue(IXmlFileStorage* node, velk::ValueDescriptor& value) {
  if (value.baseType() == velk::kTypeText) {
    substitute(value.text, node);
  } else if (value.baseType() == velk::kTypeWideText) {
    std::string text = velk::xml::toUtf8(value.wideText);
    substitute(text, node);
    value.wideText = velk::xml::fromUtf8(text);
  }
}

// The node's location is asked only for a message: a located node makes it
// on the first asking.
void DefinitionsStorageFilter::substitute(std::string& text, IXmlFileStorage* node) {
  size_t position = text.find("${");
  if (position == std::string::npos) return;
  IFileLocation* location = node ? node->GetLocation() : nullptr;
  // Built anew rather than replaced in place, which would move the rest of
  // the text once per reference.
  std::string result;
  size_t copied = 0;
  for (; position != std::string::npos; position = text.find("${", position)) {
    size_t close = text.find('}', position + 2);
    size_t nameLength = close == std::string::npos ? std::string::npos : close - position - 2;
    std::string name = text.substr(position + 2, nameLength);
    if (name.empty()) reporter_->ReportWarning(location, "'definition substitute: empty definition name'");
    auto found = table_.find(name);
    if (found == table_.end()) {
      reporter_->ReportError(location, quoted("definition substitute: ", name, " is not defined yet"));
      position = close;
      continue;
    }
    const std::string& value = found->second.value;
    if (!budget_->spend(value.size(), location, [&] { return quoted("definition substitute: ", name, ""); })) break;
    result.append(text, copied, position - copied);
    result += value;
    copied = close == std::string::npos ? text.size() : close + 1;
    position = copied;
  }
  result.append(text, copied, std::string::npos);
  text = std::move(result);
}

bool DefinitionsStorageFilter::FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) {
  if (failsConditions(node)) return true;
  std::string name = nodeName(node);
  if (name == "define") return define(node);
  if (name == "undef") return undefine(node);
  std::string macro;
  if (name == "include" && readText(node, "macro", macro)) return includeMacro(stack, node, macro);
  return false;
}

bool DefinitionsStorageFilter::failsConditions(IXmlFileStorage* node) {
  std::string text;
  if (readText(node, "product", text) && !matchesProductPattern(text, product_)) {
    reporter_->ReportInfo(node->GetLocation(),
                          quoted("Node was skipped because product pattern ", text, " does not match"));
    return true;
  }
  if (readText(node, "ifdef", text) && table_.find(text) == table_.end()) {
    reporter_->ReportInfo(node->GetLocation(), quoted("Node was skipped because ", text, " was not defined"));
    return true;
  }
  if (readText(node, "ifndef", text)) {
    auto found = table_.find(text);
    if (found != table_.end()) {
      reporter_->ReportInfo(node->GetLocation(),
                            definedAtText("Node was skipped because ", text, " was defined at:", found->second));
      return true;
    }
  }
  return false;
}

bool DefinitionsStorageFilter::define(IXmlFileStorage* node) {
  IFileLocation* location = node->GetLocation();
  std::string name;
  if (!readText(node, "name", name)) {
    reporter_->ReportInfo(location,
                          "Found 'define' node without 'name' attribute. Skipped due to backward compatibility reasons.");
    return false;
  }
  std::string value = requireText(node, "value");
  substitute(value, node);
  auto [entry, added] = table_.emplace(name, Entry{MacroExpansionStorage::unwrap(node), velk::Ref(location), value});
  if (!added) reporter_->ReportError(location, definedAtText("define: ", name, " is already defined at:", entry->second));
  return true;
}

bool DefinitionsStorageFilter::undefine(IXmlFileStorage* node) {
  IFileLocation* location = node->GetLocation();
  std::string name;
  if (!readText(node, "name", name)) {
    reporter_->ReportInfo(location,
                          "Found 'undef' node without 'name' attribute. Skipped due to backward compatibility reasons.");
    return false;
  }
  auto found = table_.find(name);
  if (found == table_.end()) {
    reporter_->ReportWarning(location, quoted("undef: ", name, " is not defined yet"));
  } else {
    table_.erase(found);
  }
  return true;
}

bool DefinitionsStorageFilter::includeMacro(StorageIteratorStack& stack, IXmlFileStorage* node,
                                            const std::string& macro) {
  auto found = table_.find(macro);
  if (found == table_.end()) {
    reporter_->ReportError(node->GetLocation(), quoted("include: ", macro, " is not defined yet"));
    return true;
  }
  MacroExpansionChain chain = MacroExpansionStorage::chainOf(node);
  uint32_t id = macroIds_.emplace(macro, static_cast<uint32_t>(macroIds_.size())).first->second;
  if (MacroExpansionStorage::contains(chain, id)) {
    reporter_->ReportError(node->GetLocation(), quoted("include: ", macro, " is included recursively"));
    return true;
  }
  // Predefined names have no body: including them contributes nothing.
  if (found->second.node) {
    auto link = MacroExpansionStorage::expand(macro, id, velk::Ref(node->GetLocation()), budget_, std::move(chain));
    stack.push(velk::Ref<IXmlFileStorage>(velk::make<MacroExpansionStorage>(found->second.node, std::move(link))));
  }
  return true;
}

std::string DefinitionsStorageFilter::definedAtText(std::string_view prefix, std::string_view name,
                                                    std::string_view suffix, const Entry& entry) {
  std::string text = quoted(prefix, name, suffix);
  text += "\n\t";
  text += entry.location->GetFileName();
  uint32_t line = entry.location->GetLine();
  // Pseudo-files have line 0; a node whose line is unknown has none to show.
  if (line != 0 && line != kNoLine) text += "(" + std::to_string(line) + ")";
  return text;
}

}  // namespace app_core::helpers

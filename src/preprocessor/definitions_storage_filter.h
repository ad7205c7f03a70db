// Product and definition conditions, define/undef, macro includes, and the
// substitution of "${name}" references in values as they are read.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>

#include "console/storage_error_reporter.h"
#include "preprocessor/definition.h"
#include "preprocessor/expansion_budget.h"
#include "preprocessor/storage_filter.h"

namespace app_core::helpers {

class DefinitionsStorageFilter : public velk::ObjectBase<IStorageFilter> {
 public:
  // The name every run defines, so sources can tell this compiler version.
  static constexpr const char* kBuiltInName = "APP_CORE_CONFIG_COMPILER_V_1_6";

  // Without a `budget` the filter bounds its expansions by a budget of its
  // own, with the smallest limit.
  DefinitionsStorageFilter(velk::Ref<StorageErrorReporter> reporter, const Definitions& definitions,
                           std::string product, velk::Ref<ExpansionBudget> budget = {});

  // Substitutes references in narrow and wide text values.
  void FilterValue(IXmlFileStorage* node, velk::ValueDescriptor& value) override;
  // Hides the condition attributes "product", "ifdef" and "ifndef".
  bool IsValueHidden(IXmlFileStorage* node, std::string_view name) override;
  bool FilterNode(StorageIteratorStack& stack, IXmlFileStorage* node) override;

  // Replaces every reference to a known definition in `text`; diagnostics
  // name the node's location. Once the run's expansion budget is spent the
  // rest of the text is left as it stands.
  void substitute(std::string& text, IXmlFileStorage* node);

 private:
  struct Entry {
    velk::Ref<IXmlFileStorage> node;  // the define element; null for predefined names
    velk::Ref<IFileLocation> location;
    std::string value;
  };
  using Table = std::map<std::string, Entry, std::less<>>;

  bool failsConditions(IXmlFileStorage* node);
  bool define(IXmlFileStorage* node);
  bool undefine(IXmlFileStorage* node);
  bool includeMacro(StorageIteratorStack& stack, IXmlFileStorage* node, const std::string& macro);
  std::string definedAtText(std::string_view prefix, std::string_view name, std::string_view suffix,
                            const Entry& entry);

  velk::Ref<StorageErrorReporter> reporter_;
  velk::Ref<ExpansionBudget> budget_;
  std::string product_;
  Table table_;
  // A number per macro name, for the expansion chains.
  std::unordered_map<std::string, uint32_t> macroIds_;
};

}  // namespace app_core::helpers

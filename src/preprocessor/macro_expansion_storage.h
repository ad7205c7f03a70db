// A node reached through the expansion of one or more macros. It remembers
// which macros are being expanded around it, so that a macro whose body
// includes itself (directly, through other macros or through included
// files) is caught instead of expanding for ever. Children and included
// files opened from it carry the same knowledge. Every node opened through
// an expansion is charged to the run's expansion budget; once that is spent
// nodes no longer open ("Not found"), which ends the expansion.
#pragma once

#include <memory>
#include <string>

#include "preprocessor/expansion_budget.h"
#include "preprocessor/persistent_id_set.h"
#include "xmlfile/xml_file_storage_proxy.h"

namespace app_core::helpers {

// The macros being expanded, innermost first.
struct MacroExpansionLink {
  std::string name;
  PersistentIdSet macros;               // the numbers of this macro and the outer ones
  velk::Ref<IFileLocation> includedAt;  // the include element
  velk::Ref<ExpansionBudget> budget;    // charged for every node opened
  std::shared_ptr<const MacroExpansionLink> outer;
  // The include outside every macro that started the expansion: where an
  // expansion past the budget is reported. Held alive through `outer`.
  const MacroExpansionLink* outermost = nullptr;
};
using MacroExpansionChain = std::shared_ptr<const MacroExpansionLink>;

class MacroExpansionStorage : public XmlFileStorageProxy {
 public:
  MacroExpansionStorage(velk::Ref<IXmlFileStorage> node, MacroExpansionChain chain)
      : XmlFileStorageProxy(std::move(node)), chain_(std::move(chain)) {}

  // The chain `outer` continued by the expansion of macro `name`, numbered
  // `id`, included at `includedAt`.
  static MacroExpansionChain expand(std::string name, uint32_t id, velk::Ref<IFileLocation> includedAt,
                                    velk::Ref<ExpansionBudget> budget, MacroExpansionChain outer);
  // The expansion chain around `node`; empty outside every macro.
  static MacroExpansionChain chainOf(IXmlFileStorage* node);
  // `node` as it stands in its file, without an expansion wrapper.
  static velk::Ref<IXmlFileStorage> unwrap(IXmlFileStorage* node);
  // Whether the macro numbered `id` is being expanded in `chain`.
  static bool contains(const MacroExpansionChain& chain, uint32_t id);

  using XmlFileStorageProxy::CreateNode;
  using XmlFileStorageProxy::GetNode;
  velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) override;
  velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                       velk::IStorage* documentRoot) override;

 private:
  velk::result_t wrap(velk::result_t r, IXmlFileStorage** node);

  MacroExpansionChain chain_;
};

}  // namespace app_core::helpers

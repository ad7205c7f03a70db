#include "preprocessor/macro_expansion_storage.h"

namespace app_core::helpers {

using velk::result_t;

MacroExpansionChain MacroExpansionStorage::expand(std::string name, uint32_t id,
                                                 velk::Ref<IFileLocation> includedAt,
                                                 velk::Ref<ExpansionBudget> budget, MacroExpansionChain outer) {
  PersistentIdSet macros = (outer ? outer->macros : PersistentIdSet()).with(id);
  auto link = std::make_shared<MacroExpansionLink>(MacroExpansionLink{
      std::move(name), std::move(macros), std::move(includedAt), std::move(budget), std::move(outer)});
  link->outermost = link->outer ? link->outer->outermost : link.get();
  return link;
}

MacroExpansionChain MacroExpansionStorage::chainOf(IXmlFileStorage* node) {
  auto* expansion = dynamic_cast<MacroExpansionStorage*>(node);
  return expansion ? expansion->chain_ : nullptr;
}

velk::Ref<IXmlFileStorage> MacroExpansionStorage::unwrap(IXmlFileStorage* node) {
  auto* expansion = dynamic_cast<MacroExpansionStorage*>(node);
  return velk::Ref<IXmlFileStorage>(expansion ? expansion->wrapped() : node);
}

bool MacroExpansionStorage::contains(const MacroExpansionChain& chain, uint32_t id) {
  return chain && chain->macros.contains(id);
}

result_t MacroExpansionStorage::wrap(result_t r, IXmlFileStorage** node) {
  if (velk::succeeded(r) && *node) {
    auto plain = velk::Ref<IXmlFileStorage>::adopt(*node);
    *node = nullptr;
    const MacroExpansionLink& use = *chain_->outermost;
    auto what = [&] { return "include: '" + use.name + "'"; };
    if (chain_->budget && !chain_->budget->spend(kExpandedNodeBytes, use.includedAt.get(), what))
      return velk::errors::kNotFound;
    *node = velk::Ref<IXmlFileStorage>(velk::make<MacroExpansionStorage>(plain, chain_)).detach();
  }
  return r;
}

result_t MacroExpansionStorage::CreateNode(std::string_view name, IXmlFileStorage** child) {
  return wrap(wrapped()->CreateNode(name, child), child);
}

result_t MacroExpansionStorage::GetNode(uint32_t index, IXmlFileStorage** child) {
  return wrap(wrapped()->GetNode(index, child), child);
}

result_t MacroExpansionStorage::GetNode(std::string_view name, IXmlFileStorage** child) {
  return wrap(wrapped()->GetNode(name, child), child);
}

result_t MacroExpansionStorage::CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                                      velk::IStorage* documentRoot) {
  return wrap(wrapped()->CreateIncludedStorage(out, path, documentRoot), out);
}

}  // namespace app_core::helpers

#include "preprocessor/filter_chains.h"

#include "preprocessor/combined_storage_filter.h"
#include "preprocessor/definitions_storage_filter.h"
#include "preprocessor/expansion_budget.h"
#include "preprocessor/storage_block_filter.h"
#include "preprocessor/storage_include_filter.h"
#include "preprocessor/user_messages_storage_filter.h"

namespace app_core::helpers {

velk::Ref<IStorageFilter> makePreprocessorChain(velk::Ref<StorageErrorReporter> reporter,
                                                velk::IObject* xmlStorageFactory,
                                                const Definitions& definitions, const std::string& product,
                                                const std::vector<std::string>& sources,
                                                const std::vector<std::string>& outputs) {
  auto budget = velk::make<ExpansionBudget>(reporter);
  for (const std::string& source : sources) budget->addSourceFile(source);
  auto chain = velk::make<CombinedStorageFilter>();
  chain->add(velk::make<DefinitionsStorageFilter>(reporter, definitions, product, budget));
  chain->add(velk::make<StorageBlockFilter>());
  chain->add(velk::make<StorageIncludeFilter>(
      reporter, velk::queryInterface<velk::IXmlStorageFactory>(xmlStorageFactory), std::move(budget), outputs));
  chain->add(velk::make<UserMessagesStorageFilter>(std::move(reporter)));
  return chain;
}

velk::Ref<IStorageFilter> makePackChain(velk::Ref<StorageErrorReporter> reporter,
                                        velk::IObject* xmlStorageFactory, const std::vector<std::string>& outputs) {
  return velk::make<StorageIncludeFilter>(std::move(reporter), velk::queryInterface<velk::IXmlStorageFactory>(xmlStorageFactory),
                                          velk::Ref<ExpansionBudget>(), outputs);
}

}  // namespace app_core::helpers

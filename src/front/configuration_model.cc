#include "front/configuration_model.h"

#include <algorithm>

namespace app_core {

const ModelUpdateCategory* ConfigurationModel::findUpdateCategory(std::string_view name) const {
  auto found = std::lower_bound(updateCategories.begin(), updateCategories.end(), name,
                                [](const ModelUpdateCategory& c, std::string_view n) { return c.name < n; });
  return found != updateCategories.end() && found->name == name ? &*found : nullptr;
}

const ModelInterface* ConfigurationModel::findInterface(uint32_t iid) const {
  auto found = std::lower_bound(interfaces.begin(), interfaces.end(), iid,
                                [](const ModelInterface& entry, uint32_t id) { return entry.iid < id; });
  return found != interfaces.end() && found->iid == iid ? &*found : nullptr;
}

void ConfigurationModel::releaseServiceSettings() {
  for (ModelService& service : services) service.settings.reset();
}

}  // namespace app_core

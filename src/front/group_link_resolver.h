// Resolves the links of a service list: a link naming a group stands for the
// group's links (groups may nest), any other link names a service.
#pragma once

#include <functional>
#include <vector>

#include "console/storage_error_reporter.h"
#include "front/configuration_model.h"

namespace app_core {

class GroupLinkResolver {
 public:
  using Visit = std::function<void(ModelService& service, const SourceLink& link)>;

  GroupLinkResolver(const std::vector<SourceLinkList>& groups, helpers::StorageErrorReporter* reporter);

  // Calls `visit` for each service the links name, in link order. A group
  // met again inside its own expansion is reported and not followed; a group
  // already expanded for this list is not expanded again, as that would add
  // nothing.
  void resolve(const std::vector<SourceLink>& links, NamedList<ModelService>& services, const Visit& visit);

 private:
  const std::vector<SourceLinkList>& groups_;
  helpers::StorageErrorReporter* reporter_;
  std::unordered_map<std::string, size_t, StringHash, std::equal_to<>> groupIndex_;
  // Per group: the list pass that expanded it, and whether it is being
  // expanded now. Stamps avoid clearing per list.
  std::vector<uint32_t> expandedIn_;
  std::vector<bool> onStack_;
  uint32_t pass_ = 0;
};

}  // namespace app_core

#include "front/group_link_resolver.h"

#include "front/compiler_messages.h"

namespace app_core {
namespace {

struct Frame {
  const std::vector<SourceLink>* links;
  size_t next;
  size_t group;  // the group whose links these are; npos for the list itself
};

constexpr size_t kNoGroup = static_cast<size_t>(-1);

}  // namespace

GroupLinkResolver::GroupLinkResolver(const std::vector<SourceLinkList>& groups,
                                     helpers::StorageErrorReporter* reporter)
    : groups_(groups), reporter_(reporter), expandedIn_(groups.size(), 0), onStack_(groups.size(), false) {
  for (size_t i = 0; i < groups.size(); ++i) groupIndex_.try_emplace(groups[i].owner, i);
}

void GroupLinkResolver::resolve(const std::vector<SourceLink>& links, NamedList<ModelService>& services,
                                const Visit& visit) {
  ++pass_;
  // Explicit stack: deeply nested groups must not exhaust the call stack.
  std::vector<Frame> stack = {{&links, 0, kNoGroup}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.links->size()) {
      if (frame.group != kNoGroup) onStack_[frame.group] = false;
      stack.pop_back();
      continue;
    }
    const SourceLink& link = (*frame.links)[frame.next++];
    auto group = groupIndex_.find(link.name);
    if (group != groupIndex_.end()) {
      size_t index = group->second;
      if (onStack_[index]) {
        reporter_->ReportError(link.location.get(), "Circular reference to group '" + link.name + "'");
      } else if (expandedIn_[index] != pass_) {
        expandedIn_[index] = pass_;
        onStack_[index] = true;
        stack.push_back({&groups_[index].links, 0, index});
      }
      continue;
    }
    if (ModelService* service = services.find(link.name))
      visit(*service, link);
    else
      reporter_->ReportError(link.location.get(), undefinedReference("name", link.name));
  }
}

}  // namespace app_core

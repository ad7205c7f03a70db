// A set of numbers that is never changed: adding one gives a new set that
// shares all but a few nodes with the old. It holds what a chain of
// includes or of macro expansions passes through, so that each level
// shares its including level's set whole and adds one entry: a level of a
// chain thousands deep costs a few steps of a balanced tree, not a walk back
// along the chain.
#pragma once

#include <cstdint>
#include <memory>

namespace app_core::helpers {

class PersistentIdSet {
 public:
  bool contains(uint32_t id) const;
  // This set and `id`; this one stays as it is.
  PersistentIdSet with(uint32_t id) const;

 private:
  // A treap whose priorities are a hash of the keys: balanced in
  // expectation, with no state beyond the nodes.
  struct Node;
  using Link = std::shared_ptr<const Node>;
  struct Node {
    uint32_t id;
    uint32_t priority;
    Link left;
    Link right;
  };

  static Link node(uint32_t id, uint32_t priority, Link left, Link right);
  static Link insert(const Link& at, uint32_t id, uint32_t priority);

  Link root_;
};

}  // namespace app_core::helpers

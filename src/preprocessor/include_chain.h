// The files an include chain passes through, as a persistent set: the set
// of an included file shares its including file's set whole and adds one
// entry. A level of a chain thousands of files deep costs a few steps of a
// balanced tree, not a walk back along the chain.
#pragma once

#include <cstdint>
#include <memory>

namespace app_core::helpers {

class IncludeChain {
 public:
  bool contains(uint32_t file) const;
  // This chain continued by `file`; this one stays as it is.
  IncludeChain with(uint32_t file) const;

 private:
  // A treap whose priorities are a hash of the keys: balanced in
  // expectation, with no state beyond the nodes.
  struct Node;
  using Link = std::shared_ptr<const Node>;
  struct Node {
    uint32_t file;
    uint32_t priority;
    Link left;
    Link right;
  };

  static Link node(uint32_t file, uint32_t priority, Link left, Link right);
  static Link insert(const Link& at, uint32_t file, uint32_t priority);

  Link root_;
};

}  // namespace app_core::helpers

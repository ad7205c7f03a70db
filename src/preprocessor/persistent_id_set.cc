#include "preprocessor/persistent_id_set.h"

namespace app_core::helpers {
namespace {

uint32_t priorityOf(uint32_t id) {
  uint32_t x = id * 0x9E3779B1u;
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  return x ^ (x >> 13);
}

}  // namespace

bool PersistentIdSet::contains(uint32_t id) const {
  for (const Node* node = root_.get(); node; node = (id < node->id ? node->left : node->right).get()) {
    if (node->id == id) return true;
  }
  return false;
}

PersistentIdSet::Link PersistentIdSet::node(uint32_t id, uint32_t priority, Link left, Link right) {
  return std::make_shared<const Node>(Node{id, priority, std::move(left), std::move(right)});
}

PersistentIdSet PersistentIdSet::with(uint32_t id) const {
  PersistentIdSet chain;
  chain.root_ = insert(root_, id, priorityOf(id));
  return chain;
}

// Copies the path from `at` down to the new node and rotates the new node
// up while its priority is the higher; nodes off the path are shared.
PersistentIdSet::Link PersistentIdSet::insert(const Link& at, uint32_t id, uint32_t priority) {
  if (!at) return node(id, priority, nullptr, nullptr);
  if (id == at->id) return at;
  if (id < at->id) {
    Link left = insert(at->left, id, priority);
    if (left->priority <= at->priority) return node(at->id, at->priority, left, at->right);
    return node(left->id, left->priority, left->left, node(at->id, at->priority, left->right, at->right));
  }
  Link right = insert(at->right, id, priority);
  if (right->priority <= at->priority) return node(at->id, at->priority, at->left, right);
  return node(right->id, right->priority, node(at->id, at->priority, at->left, right->left), right->right);
}

}  // namespace app_core::helpers

#include "preprocessor/include_chain.h"

namespace app_core::helpers {
namespace {

uint32_t priorityOf(uint32_t file) {
  uint32_t x = file * 0x9E3779B1u;
  x ^= x >> 16;
  x *= 0x85EBCA6Bu;
  return x ^ (x >> 13);
}

}  // namespace

bool IncludeChain::contains(uint32_t file) const {
  for (const Node* node = root_.get(); node; node = (file < node->file ? node->left : node->right).get()) {
    if (node->file == file) return true;
  }
  return false;
}

IncludeChain::Link IncludeChain::node(uint32_t file, uint32_t priority, Link left, Link right) {
  return std::make_shared<const Node>(Node{file, priority, std::move(left), std::move(right)});
}

IncludeChain IncludeChain::with(uint32_t file) const {
  IncludeChain chain;
  chain.root_ = insert(root_, file, priorityOf(file));
  return chain;
}

// Copies the path from `at` down to the new node and rotates the new node
// up while its priority is the higher; nodes off the path are shared.
IncludeChain::Link IncludeChain::insert(const Link& at, uint32_t file, uint32_t priority) {
  if (!at) return node(file, priority, nullptr, nullptr);
  if (file == at->file) return at;
  if (file < at->file) {
    Link left = insert(at->left, file, priority);
    if (left->priority <= at->priority) return node(at->file, at->priority, left, at->right);
    return node(left->file, left->priority, left->left, node(at->file, at->priority, left->right, at->right));
  }
  Link right = insert(at->right, file, priority);
  if (right->priority <= at->priority) return node(at->file, at->priority, at->left, right);
  return node(right->file, right->priority, node(at->file, at->priority, at->left, right->left), right->right);
}

}  // namespace app_core::helpers

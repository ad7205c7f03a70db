// A key that one write opens again and again: the task type registry once
// per task, the scheduler's descriptors once per schedule. Each opening has
// to see the tree as storing it and reading it back would leave it; doing
// that literally re-reads and re-prints a growing document at every step.
//
// So the tree is read once and kept. Reading back changes nothing in a tree
// that was itself read back; of what a step adds, only texts with runs of
// blanks, or blank ones, come back otherwise, and those are set as a read
// would leave them when the key is opened next. Whatever a read might treat
// differently still (text that is not UTF-8, deep nesting, a stored document
// the printer does not reproduce) makes the next opening a real store and
// read. The bytes stored in the end are those of opening the key each time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "writers/db/storage_context.h"
#include "writers/db/storage_key.h"

namespace app_core {

class ReopenedKey {
 public:
  ReopenedKey(const StorageContext& context, std::string key) : context_(context), key_(std::move(key)) {}

  // Opens the key for one step. The step lets go of `root` and of all it
  // took from it before the next opening.
  velk::result_t open(velk::Ref<velk::IStorage>& root);
  // Tells what the step created: a new subtree at nesting depth `depth` (the
  // root is at depth 1). All else a step writes must read back unchanged.
  velk::result_t added(velk::IStorage* subtree, uint32_t depth);
  // Tells that no later step looks into `subtree`, which this step added:
  // from the next opening on it is held as the text it prints as (see
  // IKeepAsPrinted), which keeps a long series of additions small.
  void finished(velk::IStorage* subtree);
  // Stores the tree and closes the key; gives the result of the store.
  velk::result_t close();

 private:
  // A text to set at the next opening; "" removes the text.
  struct TextChange {
    velk::Ref<velk::IStorage> node;
    std::string text;
  };

  velk::result_t read();
  velk::result_t settle();
  void keepFinishedAsPrinted();
  void forgetSteps();
  velk::result_t inspect(velk::IStorage* node, uint32_t depth);
  velk::result_t inspectValues(velk::IStorage* node);
  velk::result_t inspectText(velk::IStorage* node);
  void needReread();

  const StorageContext& context_;
  std::string key_;
  StorageKey stored_;
  bool rereadNext_ = false;
  std::vector<TextChange> pending_;
  std::vector<velk::Ref<velk::IStorage>> finished_;
};

}  // namespace app_core

#include "preprocessor/persistent_id_set.h"

#include <gtest/gtest.h>

#include <vector>

namespace app_core::helpers {
namespace {

// Every level of a long chain holds exactly the ids added up to it, in
// whatever order they came, and adding to a level leaves it as it was.
TEST(PersistentIdSet, EachLevelHoldsItsOwnIdsAndNoOthers) {
  constexpr uint32_t kCount = 2000;
  std::vector<PersistentIdSet> levels(1);
  std::vector<uint32_t> order;
  for (uint32_t i = 0; i < kCount; ++i) order.push_back((i * 7919u) % kCount);
  for (uint32_t id : order) levels.push_back(levels.back().with(id));
  for (size_t level : {size_t{0}, size_t{1}, size_t{999}, size_t{kCount}}) {
    std::vector<bool> added(kCount, false);
    for (size_t i = 0; i < level; ++i) added[order[i]] = true;
    for (uint32_t id = 0; id < kCount; ++id) EXPECT_EQ(levels[level].contains(id), added[id]) << level << " " << id;
  }
  PersistentIdSet again = levels[10].with(order[5]);
  EXPECT_TRUE(again.contains(order[5]));
  EXPECT_FALSE(levels[10].contains(order[10]));
}

}  // namespace
}  // namespace app_core::helpers

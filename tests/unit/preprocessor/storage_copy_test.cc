#include "preprocessor/storage_copy.h"

#include <gtest/gtest.h>

#include "node_dump.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_block_filter.h"
#include "test_node.h"
#include "velk/exception.h"

namespace app_core::helpers {
namespace {

using test::dump;
using testing::parseTestXml;
using velk::Ref;

TEST(CopyStorage, AppendsChildrenValuesAndTextAfterWhatIsThere) {
  auto source = parseTestXml(R"(<src a="1"><x b="2">t<y/></x><z/></src>)");
  auto destination = parseTestXml(R"(<root><old/></root>)");
  copyStorage(source.get(), destination.get());
  EXPECT_EQ(dump(destination.get()), "root a=1 { old, x b=2 \"t\" { y }, z }");
}

TEST(CopyStorage, CopiesWhatAFilteredViewShows) {
  auto source = parseTestXml(R"(<src><block><a/><block><b/></block></block></src>)");
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(source), velk::make<StorageBlockFilter>());
  auto destination = parseTestXml("<root/>");
  copyStorage(view.get(), destination.get());
  EXPECT_EQ(dump(destination.get()), "root { a, b }");
}

TEST(CopyStorage, FailingStepRaises) {
  auto source = parseTestXml("<src><a/></src>");
  auto view = velk::make<FilteredStorage>();
  view->appendChild(Ref<IXmlFileStorage>(source));
  // A filtered view refuses new children.
  auto destination = velk::make<FilteredStorage>();
  EXPECT_THROW(copyStorage(view.get(), destination.get()), velk::CheckResultFailedException);
}

}  // namespace
}  // namespace app_core::helpers

#include <gtest/gtest.h>

#include "preprocessor/storage_include_filter.h"

namespace app_core::helpers {
namespace {

TEST(IncludePath, ResolvesAgainstTheIncludingFilesDirectory) {
  EXPECT_EQ(StorageIncludeFilter::resolveIncludePath("b.xml", "/w/dir/a.xml"), "/w/dir/b.xml");
  EXPECT_EQ(StorageIncludeFilter::resolveIncludePath("sub/../c.xml", "/w/dir/a.xml"), "/w/dir/c.xml");
  EXPECT_EQ(StorageIncludeFilter::resolveIncludePath("../up.xml", "/w/dir/a.xml"), "/w/up.xml");
}

TEST(IncludePath, ReadsBackslashesAsSeparators) {
  EXPECT_EQ(StorageIncludeFilter::resolveIncludePath("sub\\x.xml", "/w/a.xml"), "/w/sub/x.xml");
  EXPECT_EQ(StorageIncludeFilter::resolveIncludePath("..\\ring\\a.xml", "/w/ring/b.xml"), "/w/ring/a.xml");
}

TEST(IncludePath, KeepsAbsolutePaths) {
  EXPECT_EQ(StorageIncludeFilter::resolveIncludePath("/abs/x.xml", "/w/a.xml"), "/abs/x.xml");
}

}  // namespace
}  // namespace app_core::helpers

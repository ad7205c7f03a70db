#include "platform/path_rules.h"

#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(AbsolutePath, AbsoluteFormsStay) {
  for (const char* path : {"/etc/x.xml", "//server/share", "\\\\server\\share\\a.xml", "C:\\a.xml", "c:/a.xml"})
    EXPECT_EQ(makeAbsolute(path, "/work"), path);
  EXPECT_EQ(makeAbsolute("D:", "/work"), "D:\\");
}

TEST(AbsolutePath, RelativeJoinedAndNormalised) {
  EXPECT_EQ(makeAbsolute("a.xml", "/work"), "/work/a.xml");
  EXPECT_EQ(makeAbsolute("a.xml", "/work/"), "/work/a.xml");
  EXPECT_EQ(makeAbsolute("./sub/../b/./c.xml", "/work/dir"), "/work/dir/b/c.xml");
  EXPECT_EQ(makeAbsolute("../../../up.xml", "/work/dir"), "/up.xml");
  EXPECT_EQ(makeAbsolute("a//b.xml", "/"), "/a/b.xml");
  EXPECT_EQ(makeAbsolute("", "/work"), "/work/");
}

TEST(IncludePath, ResolvesAgainstTheIncludingFilesDirectory) {
  EXPECT_EQ(resolveAgainstFile("b.xml", "/w/dir/a.xml"), "/w/dir/b.xml");
  EXPECT_EQ(resolveAgainstFile("sub/../c.xml", "/w/dir/a.xml"), "/w/dir/c.xml");
  EXPECT_EQ(resolveAgainstFile("../up.xml", "/w/dir/a.xml"), "/w/up.xml");
}

TEST(IncludePath, ReadsBackslashesAsSeparators) {
  EXPECT_EQ(resolveAgainstFile("sub\\x.xml", "/w/a.xml"), "/w/sub/x.xml");
  EXPECT_EQ(resolveAgainstFile("..\\ring\\a.xml", "/w/ring/b.xml"), "/w/ring/a.xml");
}

TEST(IncludePath, KeepsAbsolutePaths) { EXPECT_EQ(resolveAgainstFile("/abs/x.xml", "/w/a.xml"), "/abs/x.xml"); }

TEST(Extension, IsTheTextAfterTheLastDotOfTheName) {
  EXPECT_EQ(extensionOf("ppp.reg"), "reg");
  EXPECT_EQ(extensionOf("dir.reg/ppp"), "");
  EXPECT_EQ(extensionOf("dir.x\\ppp"), "");
  EXPECT_EQ(extensionOf("a/b.c.REG"), "REG");
  EXPECT_EQ(extensionOf("noext"), "");
  EXPECT_EQ(extensionOf("trailing."), "");
}

}  // namespace
}  // namespace velk

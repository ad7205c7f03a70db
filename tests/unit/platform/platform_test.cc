// The platform helpers that keep outputs whole: replacing a file in one
// rename, advisory locks between runs, and telling whether two paths name
// one file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/advisory_lock.h"
#include "platform/file_replacement.h"
#include "platform/same_file.h"
#include "temp_directory.h"

namespace velk {
namespace {

namespace fs = std::filesystem;

class PlatformTest : public ::testing::Test, protected app_core::testing::TempDirectory {
 protected:
  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  size_t entries() const { return std::distance(fs::directory_iterator(root()), fs::directory_iterator()); }
};

TEST_F(PlatformTest, ReplacementKeepsTheOldBytesUntilCommitAndTheModeAfter) {
  std::string target = write("out.vsm", "old");
  ::chmod(target.c_str(), 0640);
  FileReplacement replacement(target);
  ASSERT_FALSE(replacement.stage("new text"));
  EXPECT_EQ(read(target), "old");
  EXPECT_EQ(entries(), 2u);
  ASSERT_FALSE(replacement.commit());
  EXPECT_EQ(read(target), "new text");
  EXPECT_EQ(entries(), 1u);
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(PlatformTest, ReplacementNeverCommittedLeavesNoTemporary) {
  std::string target = write("out.vsm", "old");
  {
    FileReplacement replacement(target);
    ASSERT_FALSE(replacement.stage("new"));
  }
  EXPECT_EQ(read(target), "old");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(PlatformTest, ReplacementRemovesWhatKilledRunsLeftButNotWhatLiveOnesWrite) {
  std::string target = write("out.vsm", "old");
  // No process has a number this high; this test's process is alive.
  std::string leftover = write(".out.vsm.2147483646.0.1.tmp", "half");
  std::string live = write(".out.vsm." + std::to_string(::getpid()) + ".999.1.tmp", "busy");
  std::string other = write(".other.vsm.2147483646.0.1.tmp", "not ours");
  FileReplacement replacement(target);
  ASSERT_FALSE(replacement.stage("new"));
  ASSERT_FALSE(replacement.commit());
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(other));
}

TEST_F(PlatformTest, ReplacementThroughALinkReplacesTheFileItNames) {
  std::string target = write("real.xml", "old");
  fs::create_symlink(target, path("link.xml"));
  FileReplacement replacement(path("link.xml"));
  ASSERT_FALSE(replacement.stage("new"));
  ASSERT_FALSE(replacement.commit());
  EXPECT_TRUE(fs::is_symlink(path("link.xml")));
  EXPECT_EQ(read(target), "new");
}

TEST_F(PlatformTest, ASecondLockWaitsAndGivesUpOrTakesItOnceReleased) {
  fs::create_directories(path("a"));
  fs::create_directories(path("b"));
  AdvisoryLock first;
  std::string blocked;
  ASSERT_FALSE(first.acquire({path("b"), path("a")}, std::chrono::milliseconds(0), blocked));
  AdvisoryLock second;
  // An overlapping set, named the other way round and with a repeat.
  std::error_code error = second.acquire({path("a"), path("a"), path("c_missing")}, std::chrono::milliseconds(20), blocked);
  EXPECT_EQ(error, std::errc::timed_out);
  EXPECT_EQ(blocked, path("a"));
  first.release();
  EXPECT_FALSE(second.acquire({path("a"), path("b")}, std::chrono::milliseconds(0), blocked));
}

TEST_F(PlatformTest, SameFileSeesThroughLinksAndSpellings) {
  std::string input = write("in.xml", "<root/>");
  fs::create_hard_link(input, path("hard.xml"));
  fs::create_symlink(input, path("soft.xml"));
  fs::create_directories(path("sub"));
  EXPECT_TRUE(sameFile(input, path("hard.xml")));
  EXPECT_TRUE(sameFile(path("soft.xml"), input));
  EXPECT_TRUE(sameFile(path("sub/../in.xml"), input));
  EXPECT_FALSE(sameFile(input, path("other.xml")));
  // A path that does not exist: the normalised paths decide.
  EXPECT_TRUE(sameFile(path("missing/../in.xml"), input));
  EXPECT_TRUE(sameFile(path("sub/../new.kvdb"), path("new.kvdb")));
  EXPECT_FALSE(sameFile(path("sub/new.kvdb"), path("new.kvdb")));
}

}  // namespace
}  // namespace velk

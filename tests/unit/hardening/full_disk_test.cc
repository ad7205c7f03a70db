// A disk that fills up at any point of a run: the run fails or succeeds,
// and every database holds exactly its old records or, after a success,
// exactly its new ones; so does the .vsm file. The file size limit stands in for the full disk and
// is raised step by step from far too small to large enough.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "test_files.h"
#include "tool_process.h"

namespace hardening {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOldVsm = "<root>\r\n    <host id=\"old\" prototype=\"0\" />\r\n</root>\r\n";

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FullDisk : public ScratchFolder {
 protected:
  void copyBases() {
    for (const std::string& name : {std::string("settings"), std::string("storage")}) {
      for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path(name + ".kvdb") + suffix);
      fs::copy_file(path(name + "_base.kvdb"), path(name + ".kvdb"));
    }
    std::ofstream(path("config.vsm"), std::ios::binary | std::ios::trunc) << kOldVsm;
  }
};

TEST_F(FullDisk, CompileFailsCleanlyOrSucceedsWhole) {
  std::string configuration = writeConfiguration(path("config"), 1000);
  writeExchangeFile(path("old.xml"), 0, 100, "old");
  ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + path("settings_base.kvdb")}), 0);
  ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + path("storage_base.kvdb")}), 0);
  std::vector<std::string> compile = {"compile", "-p", "P", "-x", configuration, "--settings=" + path("settings.kvdb"),
                                      "--storage=" + path("storage.kvdb"), "-e", path("config.vsm")};
  DatabaseDump oldContent = dumpDatabase(path("settings_base.kvdb"));
  copyBases();
  ASSERT_EQ(runTool(compile), 0);
  DatabaseDump newSettings = dumpDatabase(path("settings.kvdb"));
  DatabaseDump newStorage = dumpDatabase(path("storage.kvdb"));
  std::string newVsm = fileText(path("config.vsm"));
  ASSERT_NE(newVsm, kOldVsm);

  int failures = 0;
  for (int kilobytes = 40; kilobytes <= 2000; kilobytes += 140) {
    copyBases();
    int status = runToolOnFullDisk(compile, kilobytes);
    DatabaseDump settings = dumpDatabase(path("settings.kvdb"));
    DatabaseDump storage = dumpDatabase(path("storage.kvdb"));
    ASSERT_EQ(settings.integrity, "ok") << kilobytes << " KB";
    ASSERT_EQ(storage.integrity, "ok") << kilobytes << " KB";
    std::string vsm = fileText(path("config.vsm"));
    if (status == 0) {
      EXPECT_TRUE(settings == newSettings && storage == newStorage) << kilobytes << " KB";
      EXPECT_EQ(vsm, newVsm) << kilobytes << " KB";
    } else {
      ++failures;
      // 75 for counted errors, the code of an exception otherwise; never a
      // signal.
      EXPECT_LT(status, 128) << kilobytes << " KB";
      // The storage database commits first: a failed second commit leaves
      // it new and the settings database old.
      EXPECT_TRUE(settings.rows == oldContent.rows) << kilobytes << " KB";
      EXPECT_TRUE(storage.rows == oldContent.rows || storage == newStorage) << kilobytes << " KB";
      // The .vsm is renamed into place after both commits only.
      EXPECT_EQ(vsm, kOldVsm) << kilobytes << " KB";
    }
  }
  EXPECT_GE(failures, 1);
}

TEST_F(FullDisk, ImportFailsCleanlyOrSucceedsWhole) {
  writeExchangeFile(path("old.xml"), 0, 200, "old");
  ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + path("settings_base.kvdb")}), 0);
  ASSERT_EQ(runTool({"import", "-x", path("old.xml"), "--db=" + path("storage_base.kvdb")}), 0);
  writeExchangeFile(path("new.xml"), 100, 3000, "new");
  std::vector<std::string> import = {"import", "-x", path("new.xml"), "--db=" + path("settings.kvdb")};
  DatabaseDump oldContent = dumpDatabase(path("settings_base.kvdb"));
  copyBases();
  ASSERT_EQ(runTool(import), 0);
  DatabaseDump newContent = dumpDatabase(path("settings.kvdb"));

  int failures = 0;
  for (int kilobytes = 20; kilobytes <= 1200; kilobytes += 110) {
    copyBases();
    int status = runToolOnFullDisk(import, kilobytes);
    DatabaseDump found = dumpDatabase(path("settings.kvdb"));
    ASSERT_EQ(found.integrity, "ok") << kilobytes << " KB";
    if (status == 0) {
      EXPECT_TRUE(found == newContent) << kilobytes << " KB";
    } else {
      ++failures;
      EXPECT_EQ(status, 1) << kilobytes << " KB";
      EXPECT_TRUE(found.rows == oldContent.rows) << kilobytes << " KB";
    }
  }
  EXPECT_GE(failures, 1);
}

}  // namespace
}  // namespace hardening

// A document written back over its old text must leave that text whole when
// the new one does not fit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "temp_directory.h"
#include "xmlfile/file_io.h"
#include "xmlfile/xml_storage_factory.h"

namespace {

using velk::Ref;
using velk::result_t;

// A file of a disk with `room` bytes: growing past them fails the way a
// full disk does, and so does a write past them.
class SmallDiskIo : public velk::ObjectBase<velk::IIO> {
 public:
  SmallDiskIo(std::string initial, size_t room) : content(std::move(initial)), room_(room) {}

  result_t Read(void* buffer, uint32_t size, uint32_t* count) override {
    size_t n = std::min<size_t>(size, content.size() - std::min(position_, content.size()));
    content.copy(static_cast<char*>(buffer), n, position_);
    position_ += n;
    *count = static_cast<uint32_t>(n);
    return velk::errors::kOk;
  }
  result_t Write(const void* bytes, uint32_t size, uint32_t* count) override {
    size_t fits = position_ < room_ ? std::min<size_t>(size, room_ - position_) : 0;
    if (content.size() < position_ + fits) content.resize(position_ + fits);
    content.replace(position_, fits, static_cast<const char*>(bytes), fits);
    position_ += fits;
    *count = static_cast<uint32_t>(fits);
    return fits == size ? velk::errors::kOk : velk::fromErrno(ENOSPC);
  }
  result_t Flush() override { return velk::errors::kOk; }
  result_t GetPosition(uint64_t* at) override {
    *at = position_;
    return velk::errors::kOk;
  }
  result_t GetSize(uint64_t* size) override {
    *size = content.size();
    return velk::errors::kOk;
  }
  result_t SetSize(uint64_t size) override {
    if (size > room_) return velk::fromErrno(ENOSPC);
    content.resize(size);
    return velk::errors::kOk;
  }
  result_t Seek(uint64_t at) override {
    position_ = at;
    return velk::errors::kOk;
  }

  std::string content;

 private:
  size_t position_ = 0;
  size_t room_;
};

Ref<velk::IStorage> parse(velk::IIO* io) {
  Ref<velk::IStorage> root;
  auto factory = velk::make<velk::XmlStorageFactory>();
  EXPECT_EQ(factory->ParseIo(io, 0, root.put(), nullptr), velk::errors::kOk);
  return root;
}

void addChildren(velk::IStorage* root, int count) {
  for (int i = 0; i < count; ++i) {
    Ref<velk::IStorage> child;
    ASSERT_EQ(root->CreateNode("item", child.put()), velk::errors::kOk);
  }
}

TEST(FlushKeepsOldText, NewTextThatDoesNotFitLeavesTheOldOne) {
  const std::string old = "<root>\r\n    <old />\r\n</root>\r\n";
  auto io = velk::make<SmallDiskIo>(old, 64);
  {
    Ref<velk::IStorage> root = parse(io.get());
    addChildren(root.get(), 10);
    EXPECT_TRUE(velk::failed(root->Flush()));
  }
  EXPECT_EQ(io->content, old);
}

TEST(FlushKeepsOldText, NewTextThatFitsReplacesTheOldOne) {
  auto io = velk::make<SmallDiskIo>("<root>\r\n    <old />\r\n</root>\r\n", 4096);
  {
    Ref<velk::IStorage> root = parse(io.get());
    addChildren(root.get(), 2);
    EXPECT_EQ(root->Flush(), velk::errors::kOk);
  }
  EXPECT_EQ(io->content, "<root>\r\n    <old />\r\n    <item />\r\n    <item />\r\n</root>\r\n");
}

TEST(FlushKeepsOldText, ShorterTextLeavesNoTailOfTheOldOne) {
  auto io = velk::make<SmallDiskIo>("<root>    <old />  <old />  <old />  </root>", 4096);
  {
    Ref<velk::IStorage> root = parse(io.get());
    ASSERT_EQ(root->RemoveNode("old"), velk::errors::kOk);
    EXPECT_EQ(root->Flush(), velk::errors::kOk);
  }
  EXPECT_EQ(io->content, "<root>\r\n    <old />\r\n    <old />\r\n</root>\r\n");
}

// The same on a real file, in a child process whose file size limit stands
// in for the full disk.
TEST(FlushKeepsOldText, FileOverTheSizeLimitKeepsItsText) {
  app_core::testing::TempDirectory folder;
  const std::string old = "<root>\r\n    <old />\r\n</root>\r\n";
  std::string path = folder.write("a.xml", old);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    auto factory = velk::make<velk::XmlStorageFactory>();
    Ref<velk::IStorage> root;
    if (velk::failed(factory->OpenFile(path, 0, root.put(), nullptr))) ::_exit(2);
    for (int i = 0; i < 1000; ++i) {
      Ref<velk::IStorage> item;
      root->CreateNode("item", item.put());
    }
    result_t r = root->Flush();
    ::_exit(velk::failed(r) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the flush must fail";
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(text.str(), old);
}

}  // namespace

#include <gtest/gtest.h>

#include <fstream>

#include "temp_directory.h"
#include "velk/demultiplexor_channel.h"
#include "velk/file_channel.h"
#include "velk/framework_tracer.h"
#include "velk/trace_prefix.h"

namespace velk::tracer {
namespace {

struct Lines : ObjectBase<ITraceChannel> {
  result_t Write(const TraceRecord&, std::string_view line) override {
    lines.emplace_back(line);
    return result;
  }
  std::vector<std::string> lines;
  result_t result = errors::kOk;
};

TEST(TraceLevelName, RoundsDownToHundreds) {
  EXPECT_STREQ(traceLevelName(0), "NON");
  EXPECT_STREQ(traceLevelName(99), "NON");
  EXPECT_STREQ(traceLevelName(150), "ALW");
  EXPECT_STREQ(traceLevelName(300), "ERR");
  EXPECT_STREQ(traceLevelName(599), "WRN");
  EXPECT_STREQ(traceLevelName(1000), "ANY");
  EXPECT_STREQ(traceLevelName(1099), "ANY");
  EXPECT_STREQ(traceLevelName(1100), "UNK");
  EXPECT_STREQ(traceLevelName(0xFFFFFFFF), "UNK");
}

TEST(TracePrefix, ExpandsTheThreeDirectives) {
  std::tm parts{};
  parts.tm_year = 2024 - 1900;
  parts.tm_mon = 2;
  parts.tm_mday = 5;
  parts.tm_hour = 7;
  parts.tm_min = 8;
  parts.tm_sec = 9;
  parts.tm_isdst = -1;
  TraceRecord record;
  record.time = std::chrono::system_clock::from_time_t(std::mktime(&parts)) + std::chrono::milliseconds(42);
  record.id = 0x1A2B;
  record.level = 500;
  EXPECT_EQ(formatPrefix("%X %I %p ", record), "07:08:09.042 0x1a2b WRN ");
  EXPECT_EQ(formatPrefix("[%q%%]%", record), "[%q%%]%");
  record.id = 0;
  EXPECT_EQ(formatPrefix("%I", record), "0x0");
}

TEST(FrameworkTracer, AcceptsUpToItsLevelAndStampsRecords) {
  auto tracer = make<FrameworkTracer>();
  auto lines = make<Lines>();
  tracer->SetChannel(lines.get());
  tracer->SetPrefixFormat("%I %p ");
  tracer->SetLevel(500);
  TraceRecord record;
  EXPECT_EQ(tracer->GetRecord(501, record), code(0x8000004A));
  ASSERT_EQ(tracer->GetRecord(500, record), errors::kOk);
  record.text = "first";
  tracer->CommitRecord(record);
  trace(tracer.get(), 100, "second");
  trace(tracer.get(), 700, "dropped");
  EXPECT_EQ(lines->lines, (std::vector<std::string>{"0x1 WRN first", "0x2 ALW second"}));
}

TEST(DemultiplexorChannel, WritesToEveryChannelAndReportsTheFirstFailure) {
  auto demultiplexor = make<DemultiplexorChannel>();
  auto a = make<Lines>();
  auto b = make<Lines>();
  a->result = errors::kOutOfSpace;
  demultiplexor->AddChannel(a.get());
  demultiplexor->AddChannel(b.get());
  EXPECT_EQ(demultiplexor->AddChannel(nullptr), errors::kInvalidArgument);
  EXPECT_EQ(demultiplexor->Write({}, "line"), errors::kOutOfSpace);
  EXPECT_EQ(b->lines, std::vector<std::string>{"line"});
}

TEST(FileChannel, WritesOneLinePerRecordAndTruncates) {
  app_core::testing::TempDirectory folder;
  std::string path = folder.path("trace.log");
  {
    std::ofstream(path) << "old content\n";
    auto channel = make<FileChannel>();
    ASSERT_EQ(channel->Create(path), errors::kOk);
    channel->Write({}, "a");
    channel->Write({}, "b\n\tincluded from: x");
  }
  std::ifstream in(path);
  std::string all((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(all, "a\nb\n\tincluded from: x\n");
}

TEST(FileChannel, MissingDirectoryIsPathNotFound) {
  auto channel = make<FileChannel>();
  EXPECT_EQ(channel->Create("/nonexistent-dir-of-hesk/trace.log"), errors::kPathNotFound);
  EXPECT_EQ(channel->Write({}, "x"), errors::kNotInitialized);
}

}  // namespace
}  // namespace velk::tracer

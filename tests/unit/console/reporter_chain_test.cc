#include <gtest/gtest.h>

#include <sstream>

#include "console/null_tracer.h"
#include "console/storage_error_reporter_proxy.h"
#include "console/storage_error_tracer.h"
#include "console/stream_buffer_tracer_proxy.h"
#include "velk/demultiplexor_channel.h"
#include "velk/framework_tracer.h"

namespace app_core::helpers {
namespace {

// Remembers what reached the tracer behind the console.
struct RecordingTracer : velk::ObjectBase<velk::ITracer> {
  velk::result_t GetRecord(uint32_t level, velk::TraceRecord& record) override {
    ++requests;
    if (level > accepted) return velk::errors::kNotMatched;
    record.level = level;
    return velk::errors::kOk;
  }
  velk::result_t CommitRecord(velk::TraceRecord& record) override {
    committed.push_back(std::to_string(record.level) + " " + record.text);
    return velk::errors::kOk;
  }
  uint32_t accepted = 1000;
  int requests = 0;
  std::vector<std::string> committed;
};

velk::Ref<FileLocation> location(const std::string& name, uint32_t line, IFileLocation* from = nullptr) {
  return velk::make<FileLocation>(from, name, line);
}

TEST(DiagnosticText, LocationWordTextAndIncludeChain) {
  auto top = location("main.xml", 3);
  auto middle = location("hosts.xml", 7, top.get());
  auto inner = location("host_a.xml", 12, middle.get());
  EXPECT_EQ(composeDiagnostic(inner.get(), "Warning", "bad name"),
            "host_a.xml(12): Warning: bad name\n\tincluded from: hosts.xml(7)\n\tincluded from: main.xml(3)");
  EXPECT_EQ(composeDiagnostic(middle.get(), "Error", "x"), "hosts.xml(7): Error: x\n\tincluded from: main.xml(3)");
}

TEST(DiagnosticText, MissingPieces) {
  EXPECT_EQ(composeDiagnostic(nullptr, "Error", "text"), "Error: text");
  EXPECT_EQ(composeDiagnostic(nullptr, "Error", ""), "Error");
  auto noLine = location("a.xml", kNoLine);
  EXPECT_EQ(composeDiagnostic(noLine.get(), "Info", "i"), "a.xml: Info: i");
  auto commandLine = velk::make<FileLocation>("[command line]");
  EXPECT_EQ(composeDiagnostic(commandLine.get(), "Error", ""), "[command line](0): Error");
}

TEST(StorageErrorTracer, LevelsOfTheFourOperations) {
  auto tracer = velk::make<RecordingTracer>();
  auto reporter = velk::make<StorageErrorTracer>(tracer);
  auto where = location("f.xml", 1);
  reporter->ReportMessage("summary");
  reporter->ReportError(where.get(), "e");
  reporter->ReportWarning(nullptr, "w");
  reporter->ReportInfo(where.get(), "");
  EXPECT_EQ(tracer->committed, (std::vector<std::string>{"100 summary", "300 f.xml(1): Error: e",
                                                         "500 Warning: w", "700 f.xml(1): Info"}));
}

TEST(StorageErrorTracer, DeclinedRecordIsNeitherComposedNorCommitted) {
  auto tracer = velk::make<RecordingTracer>();
  tracer->accepted = 300;
  auto reporter = velk::make<StorageErrorTracer>(tracer);
  reporter->ReportWarning(nullptr, "w");
  reporter->ReportInfo(nullptr, "i");
  EXPECT_EQ(tracer->requests, 2);
  EXPECT_TRUE(tracer->committed.empty());
}

TEST(StorageErrorReporterProxy, CountsErrorsAndWarningsAndForwardsAll) {
  auto tracer = velk::make<RecordingTracer>();
  auto proxy = velk::make<StorageErrorReporterProxy>(velk::make<StorageErrorTracer>(tracer));
  proxy->ReportError(nullptr, "a");
  proxy->ReportError(nullptr, "b");
  proxy->ReportWarning(nullptr, "c");
  proxy->ReportInfo(nullptr, "d");
  proxy->ReportMessage("e");
  EXPECT_EQ(proxy->errorCount(), 2u);
  EXPECT_EQ(proxy->warningCount(), 1u);
  EXPECT_EQ(tracer->committed.size(), 5u);

  auto alone = velk::make<StorageErrorReporterProxy>(nullptr);
  alone->ReportWarning(nullptr, "counted only");
  EXPECT_EQ(alone->warningCount(), 1u);
}

TEST(ConsoleThreshold, MessageLevels) {
  EXPECT_EQ(consoleThreshold(0), 0u);
  EXPECT_EQ(consoleThreshold(1), 300u);
  EXPECT_EQ(consoleThreshold(2), 500u);
  EXPECT_EQ(consoleThreshold(3), 700u);
  EXPECT_EQ(consoleThreshold(4), 1000u);
  EXPECT_EQ(consoleThreshold(7), 1000u);
  EXPECT_EQ(consoleThreshold(-1), 1000u);
}

// The console output of one error, warning, info and message at a level.
std::string consoleAt(int32_t messageLevel, std::vector<std::string>* traced = nullptr) {
  std::ostringstream console;
  auto inner = velk::make<RecordingTracer>();
  auto proxy = velk::make<StreamBufferTracerProxy<std::ostream>>(console, inner, consoleThreshold(messageLevel));
  auto reporter = velk::make<StorageErrorReporterProxy>(velk::make<StorageErrorTracer>(proxy));
  auto where = location("s.xml", 4);
  reporter->ReportError(where.get(), "broken");
  reporter->ReportWarning(where.get(), "odd");
  reporter->ReportInfo(where.get(), "note");
  reporter->ReportMessage("Errors: 1, warnings: 1");
  if (traced) *traced = inner->committed;
  return console.str();
}

TEST(StreamBufferTracerProxy, ConsoleShowsWhatPassesTheMessageLevel) {
  const std::string error = "s.xml(4): Error: broken\n";
  const std::string warning = "s.xml(4): Warning: odd\n";
  const std::string info = "s.xml(4): Info: note\n";
  const std::string summary = "Errors: 1, warnings: 1\n";
  EXPECT_EQ(consoleAt(0), "");
  EXPECT_EQ(consoleAt(1), error + summary);
  EXPECT_EQ(consoleAt(2), error + warning + summary);
  EXPECT_EQ(consoleAt(3), error + warning + info + summary);
  EXPECT_EQ(consoleAt(9), error + warning + info + summary);
  EXPECT_EQ(consoleAt(-5), error + warning + info + summary);
}

TEST(StreamBufferTracerProxy, EveryRecordReachesTheInnerTracer) {
  std::vector<std::string> traced;
  consoleAt(0, &traced);
  EXPECT_EQ(traced.size(), 4u);
}

TEST(StreamBufferTracerProxy, InnerDeclineSuppressesTheConsoleToo) {
  std::ostringstream console;
  auto inner = velk::make<RecordingTracer>();
  inner->accepted = 300;
  auto proxy = velk::make<StreamBufferTracerProxy<std::ostream>>(console, inner, 1000);
  velk::trace(proxy.get(), 500, "hidden");
  velk::trace(proxy.get(), 300, "shown");
  EXPECT_EQ(console.str(), "shown\n");
}

struct CountingChannel : velk::ObjectBase<velk::tracer::ITraceChannel> {
  velk::result_t Write(const velk::TraceRecord&, std::string_view) override {
    ++lines;
    return velk::errors::kOk;
  }
  int lines = 0;
};

// The run's chain: information lines go somewhere only through the console's
// message level or a channel behind the demultiplexor.
TEST(StorageErrorReporterProxy, InformationGoesNowhereWithoutConsoleOrChannel) {
  std::ostringstream console;
  auto tracer = velk::make<velk::tracer::FrameworkTracer>();
  auto demultiplexor = velk::make<velk::tracer::DemultiplexorChannel>();
  ASSERT_EQ(tracer->SetChannel(demultiplexor.get()), velk::errors::kOk);
  ASSERT_EQ(tracer->SetLevel(1000), velk::errors::kOk);
  auto chainAt = [&](int32_t messageLevel) {
    auto proxy = velk::make<StreamBufferTracerProxy<std::ostream>>(console, tracer, consoleThreshold(messageLevel));
    return velk::make<StorageErrorReporterProxy>(velk::make<StorageErrorTracer>(proxy));
  };
  auto quiet = chainAt(2);
  EXPECT_FALSE(quiet->ReportsInfo());
  quiet->ReportInfo(location("a.xml", 1).get(), "dropped");
  EXPECT_TRUE(chainAt(3)->ReportsInfo());
  auto channel = velk::make<CountingChannel>();
  ASSERT_EQ(demultiplexor->AddChannel(channel.get()), velk::errors::kOk);
  EXPECT_TRUE(quiet->ReportsInfo());
  quiet->ReportInfo(location("a.xml", 1).get(), "kept");
  EXPECT_EQ(channel->lines, 1);
  ASSERT_EQ(tracer->SetLevel(500), velk::errors::kOk);
  EXPECT_FALSE(quiet->ReportsInfo());
  EXPECT_EQ(console.str(), "");
}

TEST(NullTracer, DeclinesEverything) {
  auto tracer = velk::make<NullTracer>();
  velk::TraceRecord record;
  EXPECT_EQ(tracer->GetRecord(0, record), velk::code(0x8000004A));
  EXPECT_EQ(tracer->CommitRecord(record), velk::code(0x8000004A));
  auto reporter = velk::make<StorageErrorTracer>(tracer);
  reporter->ReportError(nullptr, "nothing happens");
}

}  // namespace
}  // namespace app_core::helpers

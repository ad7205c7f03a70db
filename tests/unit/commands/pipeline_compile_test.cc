#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/compile_pipeline.h"
#include "console/storage_error_reporter_proxy.h"
#include "kv/key_value_storage_manager.h"
#include "recording_reporter.h"
#include "schedule/serializer_factory.h"
#include "schedule/values_free_storage_factory.h"
#include "temp_directory.h"

namespace app_core {
namespace {

namespace fs = std::filesystem;

// A compile context over the framework classes themselves, reporting into a
// recorder through a counting proxy.
struct PipelineFixture {
  PipelineFixture() {
    context.reporter = counter.get();
    context.counter = counter.get();
    context.storageFactory = velk::make<data_storage::KeyValueStorageManager>(nullptr);
    context.xmlFactory = velk::make<velk::XmlStorageFactory>();
    context.adapterFactory = velk::make<velk::ValuesFreeStorageFactory>(nullptr);
    context.serializerFactory = velk::make<velk::SerializerFactory>(nullptr);
    args.settingsDatabase = (dir / "db" / "settings.kvdb").string();
    args.storageDatabase = (dir / "db" / "storage.kvdb").string();
    args.vsmOutput = (dir / "config.vsm").string();
  }

  std::string vsm() const {
    std::ifstream in(args.vsmOutput, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  testing::TempDirectory scratch;
  // Absent at first, as a fresh output folder would be.
  fs::path dir = scratch.root() / "pipeline";
  velk::Ref<testing::RecordingReporter> recorder = velk::make<testing::RecordingReporter>();
  velk::Ref<helpers::StorageErrorReporterProxy> counter =
      velk::make<helpers::StorageErrorReporterProxy>(velk::Ref<helpers::StorageErrorReporter>(recorder.get()));
  CompileContext context;
  CompileArguments args;
};

TEST(PipelineCompile, WithoutInputsTheWritersRunOnTheEmptyModel) {
  PipelineFixture f;
  EXPECT_EQ(compile(f.context, f.args), 0);
  EXPECT_EQ(f.recorder->lines(),
            std::vector<std::string>{"M -: Compilation completed with 0 error(s) and 0 warning(s)"});
  EXPECT_EQ(f.vsm(), "<root />\r\n");
  EXPECT_TRUE(fs::exists(f.args.settingsDatabase));
  EXPECT_TRUE(fs::exists(f.args.storageDatabase));
}

TEST(PipelineCompile, ErrorsCountedBeforeTheSummaryMakeTheResult) {
  PipelineFixture f;
  f.args.inputs = {(f.dir / "missing.xml").string()};
  EXPECT_EQ(compile(f.context, f.args), velk::errors::kUnspecified);
  ASSERT_EQ(f.recorder->lines().size(), 2u);
  EXPECT_EQ(f.recorder->lines()[1], "M -: Compilation completed with 1 error(s) and 0 warning(s)");
  EXPECT_EQ(f.vsm(), "<root />\r\n");
}

TEST(PipelineCompile, OpeningFailureEndsTheRunWithoutSummary) {
  PipelineFixture f;
  fs::create_directories(f.args.vsmOutput);
  velk::result_t r = compile(f.context, f.args);
  EXPECT_TRUE(velk::failed(r));
  ASSERT_EQ(f.recorder->lines().size(), 1u);
  const std::string line = f.recorder->lines()[0];
  EXPECT_EQ(line.rfind("E -: Error opening output file: NamedObjectError - Can't open xml file", 0), 0u) << line;
}

TEST(PipelineCompile, CrutchDefinitionIsAnnouncedOnce) {
  PipelineFixture f;
  f.args.definitions = {{"APP_CORE_CRUTCH_DONT_DECLARE_UPDATE_CATEGORIES", ""},
                        {"APP_CORE_CRUTCH_DONT_DECLARE_UPDATE_CATEGORIES", "1"}};
  EXPECT_EQ(compile(f.context, f.args), 0);
  EXPECT_EQ(f.recorder->lines(),
            (std::vector<std::string>{"W -: update categories will not be declared because "
                                      "APP_CORE_CRUTCH_DONT_DECLARE_UPDATE_CATEGORIES is defined",
                                      "M -: Compilation completed with 0 error(s) and 1 warning(s)"}));
}

// Gives the fixture one input: a component in an assembly and a service of
// `component`.
void inputWithServiceOf(PipelineFixture& f, const std::string& component) {
  fs::path path = f.dir / "main.xml";
  fs::create_directories(f.dir);
  std::ofstream(path, std::ios::binary) << "<root>\n"
                                           "  <assembly name=\"a\" module=\"m.so\"><component name=\"c\"/></assembly>\n"
                                           "  <component name=\"c\" clsid=\"1\"/>\n"
                                           "  <service name=\"s\" key=\"1\" component=\""
                                        << component << "\"/>\n</root>\n";
  f.args.inputs = {path.string()};
}

TEST(CheckConfiguration, ReportsWhatACompileReportsAndWritesNothing) {
  PipelineFixture f;
  inputWithServiceOf(f, "missing");
  EXPECT_FALSE(checkConfiguration(f.context, f.args));
  EXPECT_EQ(f.recorder->lines(), std::vector<std::string>{"E " + (f.dir / "main.xml").string() +
                                                          "(4): Reference to undefined component 'missing'"});
  EXPECT_FALSE(fs::exists(f.args.vsmOutput));
  EXPECT_FALSE(fs::exists(f.args.settingsDatabase));
  EXPECT_FALSE(fs::exists(f.args.storageDatabase));
}

TEST(CheckConfiguration, ASoundConfigurationChecksCleanAfterEarlierErrors) {
  PipelineFixture f;
  f.counter->ReportError(nullptr, "an error of an earlier step");
  inputWithServiceOf(f, "c");
  EXPECT_TRUE(checkConfiguration(f.context, f.args));
  EXPECT_EQ(f.recorder->lines().size(), 1u);
  EXPECT_FALSE(fs::exists(f.dir / "db"));
}

}  // namespace
}  // namespace app_core

#include "console/tracer_subsystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "console/helpers_exceptions.h"
#include "console/null_tracer.h"
#include "temp_directory.h"
#include "velk/system_factory_table.h"
#include "velk/tracer_configuration.h"

namespace app_core {
namespace {

namespace fs = std::filesystem;
using velk::FactoryTableSlot;

struct PlainChannel : velk::ObjectBase<velk::tracer::ITraceChannel> {
  explicit PlainChannel(velk::IServiceLocator*) {}
  velk::result_t Write(const velk::TraceRecord&, std::string_view) override { return velk::errors::kOk; }
};
struct PlainTracer : NullTracer {
  explicit PlainTracer(velk::IServiceLocator*) {}
};

// Answers the tracer or the demultiplexor class with objects that cannot be
// configured, ahead of the real system table.
velk::clsid_t gReplacedClass = 0;
velk::result_t replacingTable(velk::IServiceLocator*, velk::clsid_t clsid, velk::IObjectFactory** out) {
  *out = nullptr;
  if (clsid != gReplacedClass) return velk::errors::kNotImplemented;
  if (clsid == velk::tracer::kTracerClass)
    *out = velk::make<velk::SimpleObjectFactory<PlainTracer>>().detach();
  else
    *out = velk::make<velk::SimpleObjectFactory<PlainChannel>>().detach();
  return velk::errors::kOk;
}

class TracerSubsystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    velk::registerFactoryTable(FactoryTableSlot::kSerialization, &replacingTable);
    velk::registerFactoryTable(FactoryTableSlot::kSystem, &velk::systemFactoryTable);
    gReplacedClass = 0;
    startCount_ = velk::liveObjectCount();
  }
  void TearDown() override {
    velk::registerFactoryTable(FactoryTableSlot::kSerialization, nullptr);
    velk::registerFactoryTable(FactoryTableSlot::kSystem, nullptr);
    EXPECT_EQ(velk::liveObjectCount(), startCount_);
  }
  std::string read(const fs::path& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), {});
  }
  int32_t startCount_ = 0;
  testing::TempDirectory dir_;
};

TEST_F(TracerSubsystemTest, TraceFileGetsPrefixedOpeningAndClosingLines) {
  TracerSettings settings;
  settings.filePath = (dir_.root() / "trace.log").string();
  {
    auto locator = test::makeBasicServiceLocator();
    TracerSubsystem subsystem(*locator, settings);
    auto tracer = velk::getService<velk::ITracer>(locator.get());
    ASSERT_EQ(tracer.get(), subsystem.tracer());
    velk::trace(tracer.get(), 500, "a warning");
    velk::trace(tracer.get(), 1000, "anything");
    velk::trace(tracer.get(), 1001, "above the level");
  }
  std::regex expected(
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} 0x1 ALW loader\tTracer subsystem initialized\n"
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} 0x2 WRN a warning\n"
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} 0x3 ANY anything\n"
      "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} 0x4 ALW loader\tTracer subsystem deinitialized\n");
  std::string text = read(dir_.root() / "trace.log");
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST_F(TracerSubsystemTest, NoFileWithoutPathOrAtLevelZero) {
  TracerSettings settings;
  settings.filePath = (dir_.root() / "zero.log").string();
  settings.level = 0;
  auto locator = test::makeBasicServiceLocator();
  { TracerSubsystem subsystem(*locator, settings); }
  EXPECT_FALSE(fs::exists(dir_.root() / "zero.log"));
  settings = TracerSettings{};
  { TracerSubsystem subsystem(*locator, settings); }
  EXPECT_TRUE(fs::is_empty(dir_.root()));
}

TEST_F(TracerSubsystemTest, MissingDirectoryRaisesNamedObjectError) {
  TracerSettings settings;
  settings.filePath = (dir_.root() / "missing" / "trace.log").string();
  auto locator = test::makeBasicServiceLocator();
  try {
    TracerSubsystem subsystem(*locator, settings);
    FAIL();
  } catch (const helpers::NamedObjectError& e) {
    EXPECT_EQ(e.objectName(), settings.filePath);
    EXPECT_EQ(e.code(), velk::errors::kPathNotFound);
    EXPECT_EQ(e.displayText(),
              "NamedObjectError - failed to create trace file \"" + settings.filePath +
                  "\": 0x80010103 (Path not found). At service_manager_loader/tracer_subsystem(71) ");
  }
  EXPECT_FALSE(velk::getService<velk::ITracer>(locator.get()));
}

TEST_F(TracerSubsystemTest, TracerWithoutConfiguratorIsRejected) {
  gReplacedClass = velk::tracer::kTracerClass;
  auto locator = test::makeBasicServiceLocator();
  try {
    TracerSubsystem subsystem(*locator, {});
    FAIL();
  } catch (const helpers::Exception& e) {
    EXPECT_EQ(e.message(), "Tracer does not support velk::tracer::ITracerConfigurator");
    EXPECT_STREQ(e.what(), "Exception");
  }
}

TEST_F(TracerSubsystemTest, DemultiplexorWithoutConfiguratorIsRejected) {
  gReplacedClass = velk::tracer::kDemultiplexorChannelClass;
  auto locator = test::makeBasicServiceLocator();
  try {
    TracerSubsystem subsystem(*locator, {});
    FAIL();
  } catch (const helpers::Exception& e) {
    EXPECT_EQ(e.message(),
              "Demultiplexor channel does not support velk::tracer::IDemultiplexorChannelConfigurator");
  }
}

}  // namespace
}  // namespace app_core

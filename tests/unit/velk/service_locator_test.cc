#include "velk/service_locator.h"

#include <gtest/gtest.h>

#include "velk/basic_service_locator.h"
#include "velk/framework_tracer.h"
#include "velk/system_factory_table.h"

namespace velk {
namespace {

struct IWidget : IObject {
  static constexpr iid_t IID = 0x5100;
};

class Widget : public ObjectBase<IWidget> {
 public:
  explicit Widget(IServiceLocator*) {}
};

class BrokenWidget : public ObjectBase<IWidget> {
 public:
  explicit BrokenWidget(IServiceLocator*) { throw CheckFailedException({"w", 1}, "ready"); }
};

constexpr clsid_t kWidgetClass = 0xAAAA0001;
constexpr clsid_t kBrokenClass = 0xAAAA0002;
constexpr clsid_t kUnknownClass = 0xAAAA0003;

result_t widgetTable(IServiceLocator*, clsid_t clsid, IObjectFactory** out) {
  *out = nullptr;
  if (clsid == kWidgetClass) *out = make<SimpleObjectFactory<Widget>>().detach();
  if (clsid == kBrokenClass) *out = make<SimpleObjectFactory<BrokenWidget>>().detach();
  return *out ? errors::kOk : errors::kNotImplemented;
}

class FactoryTables : public ::testing::Test {
 protected:
  void SetUp() override {
    registerFactoryTable(FactoryTableSlot::kSerialization, nullptr);
    registerFactoryTable(FactoryTableSlot::kSystem, &systemFactoryTable);
    registerFactoryTable(FactoryTableSlot::kKeyValue, &widgetTable);
    startCount_ = liveObjectCount();
  }
  void TearDown() override {
    for (auto slot : {FactoryTableSlot::kSerialization, FactoryTableSlot::kSystem, FactoryTableSlot::kKeyValue})
      registerFactoryTable(slot, nullptr);
    EXPECT_EQ(liveObjectCount(), startCount_);
  }
  int32_t startCount_ = 0;
};

TEST_F(FactoryTables, LaterTableAnswersWhenEarlierOnesDoNotKnowTheClass) {
  auto locator = app_core::test::makeBasicServiceLocator();
  EXPECT_TRUE(createObject<IWidget>(locator.get(), kWidgetClass));
  EXPECT_TRUE(createObject<ITracer>(locator.get(), tracer::kTracerClass));
}

TEST_F(FactoryTables, UnknownClassFailsAtLine144) {
  Ref<IObjectFactory> factory;
  EXPECT_EQ(getObjectFactory(nullptr, kUnknownClass, factory.put()), errors::kNotSupported);
  EXPECT_FALSE(factory);
  try {
    createObject<IObject>(nullptr, kUnknownClass, 0x47EAA67D);
    FAIL();
  } catch (const CheckResultFailedException& e) {
    EXPECT_EQ(e.displayText(),
              "CheckResultFailedException - 0x80000042 (Not supported). At helpers/test/basic_service_locator(144) ");
  }
}

TEST_F(FactoryTables, FailingCreationFailsAtLine147AndIsTraced) {
  auto locator = app_core::test::makeBasicServiceLocator();
  auto tracer = createObject<ITracer>(locator.get(), tracer::kTracerClass);
  struct Lines : ObjectBase<tracer::ITraceChannel> {
    result_t Write(const TraceRecord&, std::string_view line) override {
      text += std::string(line) + "|";
      return errors::kOk;
    }
    std::string text;
  };
  auto lines = make<Lines>();
  auto configurator = queryInterface<tracer::ITracerConfigurator>(tracer.get());
  configurator->SetChannel(lines.get());
  configurator->SetLevel(1000);
  locator->setTracer(tracer);
  try {
    createObject<IWidget>(locator.get(), kBrokenClass);
    FAIL();
  } catch (const CheckResultFailedException& e) {
    EXPECT_EQ(e.code(), errors::kUnknownException);
    EXPECT_EQ(e.position().line, 147u);
    EXPECT_STREQ(e.position().file, "helpers/test/basic_service_locator");
  }
  EXPECT_EQ(lines->text, "Exception during object construction: ready|");
  try {
    createObject<IObject>(locator.get(), kWidgetClass, 0x9999);
    FAIL();
  } catch (const CheckResultFailedException& e) {
    EXPECT_EQ(e.code(), errors::kNoInterface);
    EXPECT_EQ(e.position().line, 147u);
  }
}

TEST_F(FactoryTables, LocatorAnswersItsTwoServicesForQualifierZeroOnly) {
  auto locator = app_core::test::makeBasicServiceLocator();
  EXPECT_TRUE(getService<IAllocator>(locator.get()));
  EXPECT_FALSE(getService<ITracer>(locator.get()));
  locator->setTracer(createObject<ITracer>(locator.get(), tracer::kTracerClass));
  EXPECT_TRUE(getService<ITracer>(locator.get()));

  void* out = locator.get();
  EXPECT_EQ(locator->GetService(IAllocator::IID, 1, &out), errors::kNoInterface);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(locator->GetService(ITracer::IID, 2, &out), errors::kNoInterface);
  EXPECT_EQ(locator->GetService(IServiceLocator::IID, 0, &out), errors::kNoInterface);
  EXPECT_EQ(out, nullptr);
}

TEST_F(FactoryTables, AllocatorUsesTheRuntimeHeap) {
  auto locator = app_core::test::makeBasicServiceLocator();
  auto allocator = getService<IAllocator>(locator.get());
  void* block = nullptr;
  ASSERT_EQ(allocator->Allocate(16, &block), errors::kOk);
  static_cast<char*>(block)[15] = 'x';
  ASSERT_EQ(allocator->Reallocate(block, 4096, &block), errors::kOk);
  EXPECT_EQ(static_cast<char*>(block)[15], 'x');
  EXPECT_EQ(allocator->Free(block), errors::kOk);
}

}  // namespace
}  // namespace velk

#include "writers/db/reopened_key.h"

#include <gtest/gtest.h>

#include <functional>

#include "db_test_support.h"
#include "writers/db/node_writing.h"
#include "writers/db/storage_key.h"
#include "writers/db/task_type_registry.h"
#include "writers/db/velk_tasks_writer.h"

namespace app_core {
namespace {

using velk::result_t;

const std::string kKey = "key";

// One step's writing: `added` receives the subtree it created below the root.
using Step = std::function<result_t(velk::IStorage* root, velk::Ref<velk::IStorage>& added)>;

struct Outcome {
  result_t result = velk::errors::kOk;
  std::optional<std::string> record;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
  *out << velk::hexId(uint32_t(outcome.result)) << " " << ::testing::PrintToString(outcome.record);
}

// What the steps leave when each opens, writes and stores the key itself.
Outcome literally(const testing::Database& db, const std::vector<Step>& steps) {
  Outcome outcome;
  for (const Step& step : steps) {
    StorageKey key;
    velk::Ref<velk::IStorage> added;
    outcome.result = key.open(db.context(), kKey);
    if (velk::succeeded(outcome.result)) outcome.result = step(key.root(), added);
    added.reset();
    result_t stored = key.close();
    if (velk::succeeded(outcome.result)) outcome.result = stored;
    if (velk::failed(outcome.result)) break;
  }
  outcome.record = db.record(kKey);
  return outcome;
}

Outcome reopened(const testing::Database& db, const std::vector<Step>& steps, uint32_t depth = 2) {
  Outcome outcome;
  ReopenedKey key(db.context(), kKey);
  for (const Step& step : steps) {
    velk::Ref<velk::IStorage> root;
    velk::Ref<velk::IStorage> added;
    outcome.result = key.open(root);
    if (velk::succeeded(outcome.result)) outcome.result = step(root.get(), added);
    if (velk::succeeded(outcome.result)) outcome.result = key.added(added.get(), depth);
    if (velk::failed(outcome.result)) break;
  }
  result_t stored = key.close();
  if (velk::succeeded(outcome.result)) outcome.result = stored;
  outcome.record = db.record(kKey);
  return outcome;
}

// An "item" with an own text, a text child, and an attribute.
Step itemWithTexts(std::string text) {
  return [text](velk::IStorage* root, velk::Ref<velk::IStorage>& added) {
    result_t r = createChild(root, "item", added);
    if (velk::succeeded(r)) r = createTextChild(added.get(), "t", text);
    if (velk::succeeded(r)) r = writeText(added.get(), "a", text);
    if (velk::succeeded(r)) r = writeText(added.get(), "", text);
    return r;
  };
}

class ReopenedKeyTest : public ::testing::Test {
 protected:
  testing::TempDirectory dir;
  testing::Database first{dir.path("first.kvdb")};
  testing::Database second{dir.path("second.kvdb")};

  void storeInBoth(const std::string& document) {
    for (auto* db : {&first, &second}) {
      int64_t id = 0;
      ASSERT_EQ(db->context().database->Insert(kKey, document, id), velk::errors::kOk);
    }
  }
};

TEST_F(ReopenedKeyTest, TextsEndAsReadingBackLeavesThem) {
  std::vector<Step> steps;
  for (const char* text : {"plain", "a  b", " lead", "trail ", " ", "", "x\ty\n", "\xC3\xA9  t\xC3\xA9", "a&b<c>"})
    steps.push_back(itemWithTexts(text));
  steps.push_back(itemWithTexts("last  one, never read back"));
  Outcome expected = literally(first, steps);
  ASSERT_EQ(expected.result, velk::errors::kOk);
  // The steps really do differ from writing all at once.
  ASSERT_NE(expected.record->find("<t>a b</t>"), std::string::npos);
  ASSERT_NE(expected.record->find("<t />"), std::string::npos);
  EXPECT_EQ(reopened(second, steps), expected);
}

TEST_F(ReopenedKeyTest, StoredDocumentThatReadsBackOtherwiseIsReadAgain) {
  // Written by hand, not by the printer: the escaped blanks survive the
  // first read and are collapsed by the second.
  storeInBoth("<root><x>a&#x20;&#x20;b</x><y>&#x20;&#x20;</y></root>");
  std::vector<Step> steps = {itemWithTexts("1"), itemWithTexts("2"), itemWithTexts("3")};
  Outcome expected = literally(first, steps);
  ASSERT_NE(expected.record->find("<x>a b</x>"), std::string::npos);
  EXPECT_EQ(reopened(second, steps), expected);
}

TEST_F(ReopenedKeyTest, TextThatCannotBeReadBackFailsTheNextOpeningAsItWould) {
  std::vector<Step> steps = {itemWithTexts("fine"), itemWithTexts("\xED\xA0\x80"), itemWithTexts("never")};
  Outcome expected = literally(first, steps);
  ASSERT_TRUE(velk::failed(expected.result));
  EXPECT_EQ(reopened(second, steps), expected);
}

TEST_F(ReopenedKeyTest, NestingTooDeepToReadBackFailsTheNextOpeningAsItWould) {
  Step deep = [](velk::IStorage* root, velk::Ref<velk::IStorage>& added) {
    result_t r = createChild(root, "deep", added);
    velk::Ref<velk::IStorage> at = added;
    for (int i = 0; i < 1000 && velk::succeeded(r); ++i) {
      velk::Ref<velk::IStorage> next;
      r = createChild(at.get(), "n", next);
      at = next;
    }
    return velk::succeeded(r) ? writeText(at.get(), "", "bottom") : r;
  };
  std::vector<Step> steps = {itemWithTexts("1"), deep, itemWithTexts("2")};
  Outcome expected = literally(first, steps);
  ASSERT_TRUE(velk::failed(expected.result));
  EXPECT_EQ(reopened(second, steps), expected);
}

TEST_F(ReopenedKeyTest, KeyNeverOpenedIsNotCreated) {
  ReopenedKey key(first.context(), kKey);
  EXPECT_EQ(key.close(), velk::errors::kOk);
  EXPECT_FALSE(first.record(kKey));
}

// The registry as the writer stores it, against opening it once per task.
TEST_F(ReopenedKeyTest, RegistryEqualsOpeningItPerTask) {
  testing::ModelSource source(dir);
  auto model = source.build(R"(
<assembly name="a" module="m"><component name="c"/><component name="sc"/></assembly>
<component name="c" clsid="1"/>
<component name="sc" clsid="2" construct_iid="3" settings_typeid="0x77"/>
<task_type name="two  blanks" component="sc">
  <settings><common><a><![CDATA[  spaced   out  ]]></a><b><![CDATA[ ]]></b></common></settings>
</task_type>
<task_type name=" t" component="c"/>
<on_demand_task name="o1" type="two  blanks"/>
<on_demand_task name="o2" type=" t"/>
<on_demand_task name="o3" type="two  blanks"/>)");
  testing::Database settings(dir.path("settings.kvdb"));
  VelkTasksWriter writer(settings.context(), second.context(), source.adapters.get(), source.serializer.get());
  ASSERT_EQ(writer.write(model), velk::errors::kOk);

  std::vector<Step> steps;
  for (const ModelTask& task : model.tasks)
    steps.push_back([&model, type = &model.taskTypeOf(task)](velk::IStorage* root, velk::Ref<velk::IStorage>& added) {
      return appendTaskTypeItem(root, model, *type, added);
    });
  steps.push_back([&](velk::IStorage* root, velk::Ref<velk::IStorage>&) {
    result_t r = velk::errors::kOk;
    for (size_t i = 0; i < model.taskTypes.size() && velk::succeeded(r); ++i) {
      velk::Ref<velk::IStorage> item;
      r = appendTaskTypeItem(root, model, model.taskTypes[i], item);
    }
    return r;
  });
  std::optional<std::string> expected = literally(first, steps).record;
  ASSERT_TRUE(expected);
  ASSERT_NE(expected->find("<type>two blanks</type>"), std::string::npos);
  EXPECT_EQ(second.record(kTaskTypeRegistryKey), expected);
}

}  // namespace
}  // namespace app_core

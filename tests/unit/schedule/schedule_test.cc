#include <gtest/gtest.h>

#include "schedule/compiler_factory_table.h"
#include "schedule/schedule_meta_provider.h"
#include "schedule/schedule_serializer.h"
#include "schedule/serializer_factory.h"
#include "schedule/values_free_storage_factory.h"
#include "test_node.h"

namespace app_core {
namespace {

using testing::parseTestXml;
using testing::TestNode;

velk::Ref<velk::IStructSerializer> makeSerializer() {
  return createScheduleSerializer(velk::make<velk::SerializerFactory>(nullptr).get());
}

// Reads a schedule element the way the configuration reader presents it.
velk::result_t readSchedule(const std::string& xml, Schedule& schedule, std::string& errorText) {
  auto node = parseTestXml(xml);
  velk::ValuesFreeStorageFactory adapters(nullptr);
  velk::Ref<velk::IStorage> adapted;
  EXPECT_EQ(adapters.CreateStorage(node.get(), adapted.put()), velk::errors::kOk);
  return deserializeSchedule(makeSerializer().get(), adapted.get(), schedule, errorText);
}

TEST(ScheduleMetaProvider, KnowsTheSevenScheduleTypes) {
  auto provider = velk::make<detail::ScheduleMetaProvider>();
  const std::pair<uint32_t, const char*> types[] = {
      {0x5AAF69C8, "ExactTimeSchedule"},      {0x6E3FBE91, "OnStartSchedule"},
      {0x874A7FAA, "SecondsSchedule"},        {0x8AFDEF28, "DailySchedule"},
      {0x9784FBB7, "OnTaskCompleteSchedule"}, {0xA8860BAE, "MonthlySchedule"},
      {0xD6426858, "WeeklySchedule"}};
  for (auto [id, name] : types) {
    const velk::StructMetaInfo* info = nullptr;
    ASSERT_EQ(provider->FindStructMetaInfo(id, &info), velk::errors::kOk);
    ASSERT_NE(info, nullptr) << name;
    EXPECT_STREQ(info->name, name);
    EXPECT_STREQ(info->fields[0].name, "flags");
    EXPECT_STREQ(info->fields[3].name, "conditions");
    EXPECT_EQ(info->fields[3].structInfo->typeId, 0xE3E842C7u);
  }
}

TEST(ScheduleMetaProvider, UnknownTypesGiveNoDescriptorAndOtherOperationsAreNotImplemented) {
  auto provider = velk::make<detail::ScheduleMetaProvider>();
  const velk::StructMetaInfo* info = reinterpret_cast<const velk::StructMetaInfo*>(1);
  EXPECT_EQ(provider->FindStructMetaInfo(0x12345678, &info), velk::errors::kOk);
  EXPECT_EQ(info, nullptr);
  EXPECT_EQ(provider->FindStructMetaInfo(0xA27CC0F9, &info), velk::errors::kOk);  // the base itself
  EXPECT_EQ(info, nullptr);
  uint32_t count = 0;
  EXPECT_EQ(provider->GetStructMetaInfoCount(&count), velk::errors::kNotImplemented);
  EXPECT_EQ(provider->RegisterStructMetaInfo(nullptr), velk::errors::kNotImplemented);
  EXPECT_EQ(provider->UnregisterStructMetaInfo(0x8AFDEF28), velk::errors::kNotImplemented);
}

TEST(ScheduleReading, OnTaskCompleteScheduleFromElementTexts) {
  Schedule schedule;
  std::string errorText;
  ASSERT_EQ(readSchedule("<schedule unique_id='0x9784FBB7'><taskName>Update</taskName>"
                         "<taskMustCompleteSuccessfully>1</taskMustCompleteSuccessfully>"
                         "<flags>5</flags><conditions><weekDays>3</weekDays></conditions></schedule>",
                         schedule, errorText),
            velk::errors::kOk)
      << errorText;
  ASSERT_TRUE(schedule.present());
  EXPECT_TRUE(schedule.isOnTaskComplete());
  const auto* typed = schedule.as<scheduler::OnTaskCompleteSchedule>();
  ASSERT_NE(typed, nullptr);
  EXPECT_EQ(typed->taskName, "Update");
  EXPECT_TRUE(typed->taskMustCompleteSuccessfully);
  EXPECT_EQ(typed->flags, 5u);
  EXPECT_EQ(typed->conditions.weekDays, 3u);
  EXPECT_EQ(typed->executionCount, 0u);  // absent fields keep their defaults
  EXPECT_EQ(schedule.as<velk::scheduler::DailySchedule>(), nullptr);
}

TEST(ScheduleReading, IdentifierInDecimalAndDateTimes) {
  Schedule schedule;
  std::string errorText;
  ASSERT_EQ(readSchedule("<schedule unique_id='1521445320'><exactTime>132000000000000000</exactTime>"
                         "<conditions><scheduleTo>0x10</scheduleTo></conditions></schedule>",
                         schedule, errorText),
            velk::errors::kOk);
  const auto* exact = schedule.as<velk::scheduler::ExactTimeSchedule>();
  ASSERT_NE(exact, nullptr);
  EXPECT_EQ(exact->exactTime, 132000000000000000ull);
  EXPECT_EQ(exact->conditions.scheduleTo, 16u);
}

TEST(ScheduleReading, UnknownTypeAnswersMetaInformationNotFound) {
  Schedule schedule;
  std::string errorText;
  EXPECT_EQ(readSchedule("<schedule unique_id='0x12345678'/>", schedule, errorText),
            velk::errors::kMetaInfoNotFound);
  EXPECT_FALSE(schedule.present());
}

TEST(ScheduleReading, OtherFailuresDescribeThemselves) {
  Schedule schedule;
  std::string errorText;
  EXPECT_TRUE(velk::failed(readSchedule("<schedule/>", schedule, errorText)));
  EXPECT_EQ(errorText, "Can't read 'unique_id': Not found");
  EXPECT_TRUE(velk::failed(readSchedule(
      "<schedule unique_id='0xD6426858'><weekDays>300</weekDays></schedule>", schedule, errorText)));
  EXPECT_EQ(errorText, "Can't read field 'weekDays' of 'WeeklySchedule': Invalid argument");
  EXPECT_TRUE(velk::failed(
      readSchedule("<schedule unique_id='0x6E3FBE91'><conditions><from>x</from></conditions></schedule>",
                   schedule, errorText)));
  EXPECT_EQ(errorText, "Can't read field 'from' of 'ScheduleConditions': Invalid argument");
  EXPECT_FALSE(schedule.present());
}

TEST(ScheduleWriting, DailyScheduleCarriesEveryBaseFieldAndTheConditionsNode) {
  auto daily = std::make_shared<velk::scheduler::DailySchedule>();
  daily->periodInDays = 2;
  daily->timeOfDay = 3600;
  daily->flags = 4;
  daily->conditions.monthDays = 0x10;
  Schedule schedule{velk::scheduler::DailySchedule::kTypeId, daily};
  auto parent = parseTestXml("<descriptor/>");
  ASSERT_EQ(writeSchedule(makeSerializer().get(), schedule, parent.get()), velk::errors::kOk);
  TestNode* node = parent->child("schedule");
  ASSERT_NE(node, nullptr);
  std::vector<std::pair<std::string, std::string>> expected = {{"unique_id", std::to_string(0x8AFDEF28u)},
                                                               {"flags", "4"},
                                                               {"executionCount", "0"},
                                                               {"postponeTime", "0"},
                                                               {"timeType", "0"},
                                                               {"periodInDays", "2"},
                                                               {"timeOfDay", "3600"}};
  EXPECT_EQ(node->attributes, expected);
  TestNode* conditions = node->child("conditions");
  ASSERT_NE(conditions, nullptr);
  std::vector<std::pair<std::string, std::string>> expectedConditions = {
      {"from", "0"},       {"duration", "0"},     {"weekDays", "0"},
      {"monthDays", "16"}, {"scheduleFrom", "0"}, {"scheduleTo", "0"}};
  EXPECT_EQ(conditions->attributes, expectedConditions);
  // Writing again reuses the existing nodes.
  ASSERT_EQ(writeSchedule(makeSerializer().get(), schedule, parent.get()), velk::errors::kOk);
  EXPECT_EQ(parent->children.size(), 1u);
  EXPECT_EQ(node->children.size(), 1u);
}

TEST(ScheduleWriting, RoundTripThroughTheValuesFreeForm) {
  auto weekly = std::make_shared<velk::scheduler::WeeklySchedule>();
  weekly->weekDays = 0x41;
  weekly->timeOfDay = 7;
  weekly->conditions.scheduleFrom = 0x1234567890ull;
  auto target = parseTestXml("<schedule/>");
  velk::Ref<velk::IStorage> adapted;
  ASSERT_EQ(velk::make<velk::ValuesFreeStorageFactory>(nullptr)->CreateStorage(target.get(), adapted.put()),
            velk::errors::kOk);
  auto serializer = makeSerializer();
  ASSERT_EQ(serializer->Serialize(weekly->kTypeId, *weekly, adapted.get()), velk::errors::kOk);
  // Values became child elements, the marker stayed an attribute.
  EXPECT_EQ(target->attributes.size(), 1u);
  ASSERT_NE(target->child("weekDays"), nullptr);
  EXPECT_EQ(target->child("weekDays")->text, "65");
  Schedule back;
  std::string errorText;
  ASSERT_EQ(deserializeSchedule(serializer.get(), adapted.get(), back, errorText), velk::errors::kOk);
  const auto* read = back.as<velk::scheduler::WeeklySchedule>();
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->weekDays, 0x41);
  EXPECT_EQ(read->timeOfDay, 7u);
  EXPECT_EQ(read->conditions.scheduleFrom, 0x1234567890ull);
}

TEST(ScheduleWriting, UnknownTypeIsRefused) {
  velk::scheduler::DailySchedule daily;
  auto node = parseTestXml("<schedule/>");
  EXPECT_EQ(makeSerializer()->Serialize(0x12345678, daily, node.get()), velk::errors::kMetaInfoNotFound);
  EXPECT_TRUE(node->attributes.empty());
}

TEST(ScheduleSerializerRegistration, FactoryFailureRaisesAtTheRegistrationPosition) {
  auto notAFactory = parseTestXml("<x/>");
  try {
    createScheduleSerializer(notAFactory.get());
    FAIL() << "no exception";
  } catch (const velk::CheckResultFailedException& e) {
    EXPECT_STREQ(e.position().file, "components/vorn_config_compiler/source/schedule_serializer");
    EXPECT_EQ(e.position().line, 49u);
    EXPECT_EQ(e.code(), velk::errors::kNoInterface);
  }
}

TEST(CompilerFactoryTable, CreatesBothFactoriesByClassIdentifier) {
  velk::registerFactoryTable(velk::FactoryTableSlot::kSystem, &compilerFactoryTable);
  auto serializers = velk::createObject<velk::ISerializerFactory>(nullptr, 0x66053A85);
  auto adapters = velk::createObject<velk::IValuesFreeStorageFactory>(nullptr, 0x51EFB850);
  EXPECT_TRUE(serializers);
  EXPECT_TRUE(adapters);
  EXPECT_EQ(velk::ISerializerFactory::IID, 0xE2F30FB9u);
  EXPECT_EQ(velk::IValuesFreeStorageFactory::IID, 0xCFD465F9u);
  EXPECT_TRUE(createScheduleSerializer(serializers.get()));
  velk::Ref<velk::IObjectFactory> none;
  EXPECT_EQ(compilerFactoryTable(nullptr, 0x6332D8FD, none.put()), velk::errors::kNotImplemented);
  EXPECT_FALSE(none);
  velk::registerFactoryTable(velk::FactoryTableSlot::kSystem, nullptr);
}

}  // namespace
}  // namespace app_core

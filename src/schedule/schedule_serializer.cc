#include "schedule/schedule_serializer.h"

#include "schedule/schedule_meta_provider.h"
#include "schedule/serializer_factory.h"
#include "velk/exception.h"

namespace app_core {
namespace {

constexpr velk::SourcePos kRegistrationPos = {"components/vorn_config_compiler/source/schedule_serializer",
                                              49};

}  // namespace

velk::Ref<velk::IStructSerializer> createScheduleSerializer(velk::IObject* serializerFactory) {
  auto factory = velk::queryInterface<velk::ISerializerFactory>(serializerFactory);
  velk::checkResult(factory ? velk::errors::kOk : velk::errors::kNoInterface, kRegistrationPos);
  auto provider = velk::make<detail::ScheduleMetaProvider>();
  velk::Ref<velk::IStructSerializer> serializer;
  velk::checkResult(factory->CreateSerializer(provider.get(), serializer.put()), kRegistrationPos);
  return serializer;
}

velk::result_t deserializeSchedule(velk::IStructSerializer* serializer, velk::IStorage* node,
                                   Schedule& schedule, std::string& errorText) {
  std::shared_ptr<velk::SerializableStruct> object;
  uint32_t typeId = 0;
  velk::result_t r = serializer->Deserialize(node, &object, &typeId, &errorText);
  if (velk::failed(r)) return r;
  auto typed = std::dynamic_pointer_cast<velk::scheduler::ScheduleBase>(object);
  if (!typed) {
    errorText = "Type " + velk::hexId(typeId) + " is not a schedule";
    return velk::errors::kInvalidType;
  }
  schedule = {typeId, std::move(typed)};
  return velk::errors::kOk;
}

velk::result_t writeSchedule(velk::IStructSerializer* serializer, const Schedule& schedule,
                             velk::IStorage* parent) {
  if (!schedule.present()) return velk::errors::kInvalidArgument;
  velk::Ref<velk::IStorage> node;
  velk::result_t r = parent->GetNode("schedule", node.put());
  if (velk::failed(r)) r = parent->CreateNode("schedule", node.put());
  if (velk::failed(r)) return r;
  return serializer->Serialize(schedule.typeId, *schedule.object, node.get());
}

}  // namespace app_core

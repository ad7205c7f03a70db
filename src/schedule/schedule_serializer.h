// schedule/: task schedules and the structure serializer that reads and
// writes them, and the values-free storage adapters; the class-id table that
// registers both lives here too.
//
// Task schedules as the model keeps them, and their reading and writing
// through the structure serializer.
#pragma once

#include <memory>
#include <string>

#include "schedule/schedule_types.h"
#include "schedule/struct_serializer.h"

namespace app_core {

// A typed, shared reference to a schedule object; copies share the object.
struct Schedule {
  uint32_t typeId = 0;
  std::shared_ptr<velk::scheduler::ScheduleBase> object;

  bool present() const { return object != nullptr; }
  bool isOnTaskComplete() const { return typeId == scheduler::OnTaskCompleteSchedule::kTypeId; }
  // The object as its concrete type, or null when it is of another type.
  template <class T>
  const T* as() const {
    return typeId == T::kTypeId ? static_cast<const T*>(object.get()) : nullptr;
  }
};

// Registers the schedule meta information with the serializer factory
// (class 0x66053A85) and returns the schedule serializer; throws when the
// factory fails.
velk::Ref<velk::IStructSerializer> createScheduleSerializer(velk::IObject* serializerFactory);

// kMetaInfoNotFound for an unknown schedule type; other failures describe
// themselves in `errorText`.
velk::result_t deserializeSchedule(velk::IStructSerializer* serializer, velk::IStorage* node,
                                   Schedule& schedule, std::string& errorText);

// Opens or creates the child "schedule" of `parent` and writes the schedule
// into it.
velk::result_t writeSchedule(velk::IStructSerializer* serializer, const Schedule& schedule,
                             velk::IStorage* parent);

}  // namespace app_core

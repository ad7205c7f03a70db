// Meta information of the seven schedule types, for the structure serializer.
#pragma once

#include "schedule/struct_meta_info.h"

namespace app_core::detail {

class ScheduleMetaProvider : public velk::ObjectBase<velk::IStructMetaInfoRegistry> {
 public:
  // Known schedule types only; every other identifier gives no descriptor.
  velk::result_t FindStructMetaInfo(uint32_t typeId, const velk::StructMetaInfo** info) override;
  velk::result_t RegisterStructMetaInfo(const velk::StructMetaInfo* info) override;
  velk::result_t UnregisterStructMetaInfo(uint32_t typeId) override;
  velk::result_t GetStructMetaInfoCount(uint32_t* count) override;
};

}  // namespace app_core::detail

// A node with no children and no values that refuses every change.
#pragma once

#include "velk/storage.h"

namespace app_core::helpers {

class EmptyStorage : public velk::ObjectBase<velk::IStorage> {
 public:
  velk::result_t CreateNode(std::string_view name, velk::IStorage** child) override;
  velk::result_t RemoveNode(std::string_view name) override;
  velk::result_t GetNode(uint32_t index, velk::IStorage** child) override;
  velk::result_t GetNode(std::string_view name, velk::IStorage** child) override;
  velk::result_t GetName(char* buffer, uint32_t* size) override;
  velk::result_t GetNodesCount(uint32_t* count) override;
  velk::result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t GetValuesCount(uint32_t* count) override;
  velk::result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t Flush() override;
};

}  // namespace app_core::helpers

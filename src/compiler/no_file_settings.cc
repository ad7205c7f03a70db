#include "compiler/no_file_settings.h"

namespace app_core {
namespace {

// TEMPORARY until the shared empty storage lands.
class EmptyNode : public velk::ObjectBase<velk::IStorage> {
 public:
  velk::result_t CreateNode(std::string_view, velk::IStorage**) override { return velk::errors::kNotSupported; }
  velk::result_t RemoveNode(std::string_view) override { return velk::errors::kNotSupported; }
  velk::result_t GetNode(uint32_t, velk::IStorage**) override { return velk::errors::kInvalidIndex; }
  velk::result_t GetNode(std::string_view, velk::IStorage**) override { return velk::errors::kNotFound; }
  velk::result_t GetName(char*, uint32_t*) override { return velk::errors::kNotSupported; }
  velk::result_t GetNodesCount(uint32_t* count) override { return *count = 0, velk::errors::kOk; }
  velk::result_t GetNodeName(uint32_t, char*, uint32_t*) override { return velk::errors::kInvalidIndex; }
  velk::result_t GetValuesCount(uint32_t* count) override { return *count = 0, velk::errors::kOk; }
  velk::result_t GetValueName(uint32_t, char*, uint32_t*) override { return velk::errors::kInvalidIndex; }
  velk::result_t WriteValue(std::string_view, const velk::ValueDescriptor&, uint32_t) override {
    return velk::errors::kNotSupported;
  }
  velk::result_t ReadValue(uint32_t, velk::ValueDescriptor&, uint32_t) override { return velk::errors::kInvalidIndex; }
  velk::result_t ReadValue(std::string_view, velk::ValueDescriptor&, uint32_t) override {
    return velk::errors::kNotFound;
  }
  velk::result_t Flush() override { return velk::errors::kOk; }
};

}  // namespace

NoFileSettings::NoFileSettings()
    : node_(velk::make<EmptyNode>()), location_(velk::make<helpers::FileLocation>("[no file]")) {}

}  // namespace app_core

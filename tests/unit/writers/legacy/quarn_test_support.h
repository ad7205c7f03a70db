// Helpers of the quarn writer tests: a file held in memory, property-map
// documents and small models built by hand.
#pragma once

#include <string>
#include <vector>

#include "console/file_location.h"
#include "front/configuration_model.h"
#include "xmlfile/io.h"
#include "xmlfile/xml_storage_factory.h"

namespace quarntest {

class MemoryFile : public velk::ObjectBase<velk::IIO> {
 public:
  explicit MemoryFile(std::string initial = {}) : content(std::move(initial)) {}
  velk::result_t Read(void* buffer, uint32_t size, uint32_t* count) override;
  velk::result_t Write(const void* bytes, uint32_t size, uint32_t* count) override;
  velk::result_t Flush() override { return velk::errors::kOk; }
  velk::result_t GetPosition(uint64_t* at) override;
  velk::result_t GetSize(uint64_t* size) override;
  velk::result_t SetSize(uint64_t size) override;
  velk::result_t Seek(uint64_t at) override;

  std::string content;
  size_t position = 0;
  velk::result_t writeResult = velk::errors::kOk;  // injected failure
};

// A new "propertiesmap" document that saves into `file`.
velk::Ref<velk::IStorage> newDocument(velk::IIO* file);
// Parses `file`'s content; the document saves back into it.
velk::Ref<velk::IStorage> parseDocument(velk::IIO* file);
// The root of a parsed fragment, for retained source nodes.
velk::Ref<velk::IStorage> parseFragment(const std::string& xml);
// A saved document with its CR LF line ends as LF.
std::string savedText(const MemoryFile& file);

velk::Ref<app_core::helpers::IFileLocation> at(const std::string& file, uint32_t line);

// Builds models the writers accept.
class ModelMaker {
 public:
  size_t component(const std::string& name, uint32_t clsid);
  size_t taskType(const std::string& name, size_t component, bool monitoring = false);
  app_core::ModelTask& task(const std::string& name, size_t taskType);

  app_core::ConfigurationModel model;
};

}  // namespace quarntest

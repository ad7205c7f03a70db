// A small located node tree for the tests of readers and filters: parsed
// from XML text with line numbers, or built by hand (duplicate attributes,
// failing operations). Values keep their text form, as in XML documents, and
// a missing one is kNotFound, as the XML storage gives it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "xmlfile/xml_file_storage.h"

namespace app_core::testing {

class TestNode : public velk::ObjectBase<helpers::IXmlFileStorage> {
 public:
  TestNode(std::string nodeName, velk::Ref<helpers::IFileLocation> nodeLocation)
      : name(std::move(nodeName)), location(std::move(nodeLocation)) {}

  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;
  std::vector<velk::Ref<TestNode>> children;
  velk::Ref<helpers::IFileLocation> location;
  velk::result_t valuesCountResult = velk::errors::kOk;  // injected failure

  TestNode* child(std::string_view childName);

  using helpers::IXmlFileStorage::CreateNode;
  using helpers::IXmlFileStorage::GetNode;
  velk::result_t RemoveNode(std::string_view name) override;
  velk::result_t GetName(char* buffer, uint32_t* size) override;
  velk::result_t GetNodesCount(uint32_t* count) override;
  velk::result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t GetValuesCount(uint32_t* count) override;
  velk::result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t WriteValue(std::string_view name, const velk::ValueDescriptor& value,
                            uint32_t flags) override;
  velk::result_t ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t Flush() override { return velk::errors::kOk; }
  helpers::IFileLocation* GetLocation() override { return location.get(); }
  velk::result_t CreateIncludedStorage(helpers::IXmlFileStorage**, const std::string&,
                                       velk::IStorage*) override {
    return velk::errors::kNotImplemented;
  }
  velk::result_t GetNode(std::string_view name, helpers::IXmlFileStorage** child) override;
  velk::result_t GetNode(uint32_t index, helpers::IXmlFileStorage** child) override;
  velk::result_t CreateNode(std::string_view name, helpers::IXmlFileStorage** child) override;
};

// Parses `xml`; every node is located at `file` and its own line.
velk::Ref<TestNode> parseTestXml(const std::string& xml, const std::string& file = "a.xml");

}  // namespace app_core::testing

// In-memory located nodes built from XML text, and a reporter that records
// what it is told, for exercising filters without files.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "console/storage_error_reporter.h"
#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers::test {

class TestNode : public velk::ObjectBase<IXmlFileStorage> {
 public:
  TestNode(std::string name, velk::Ref<IFileLocation> location) : name_(std::move(name)), location_(std::move(location)) {}

  void addValue(std::string name, std::string value) { values_.emplace_back(std::move(name), std::move(value)); }
  void setText(std::string text) { text_ = std::move(text); }
  void addChild(velk::Ref<TestNode> child) { children_.push_back(std::move(child)); }
  // How often a child was opened by position.
  int opened() const { return opened_; }

  velk::result_t CreateNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t RemoveNode(std::string_view) override { return velk::errors::kNotSupported; }
  velk::result_t GetNode(uint32_t index, IXmlFileStorage** child) override;
  velk::result_t GetNode(std::string_view name, IXmlFileStorage** child) override;
  velk::result_t GetName(char* buffer, uint32_t* size) override { return velk::copyName(name_, buffer, size); }
  velk::result_t GetNodesCount(uint32_t* count) override;
  velk::result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t GetValuesCount(uint32_t* count) override;
  velk::result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override;
  velk::result_t WriteValue(std::string_view name, const velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(uint32_t index, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t ReadValue(std::string_view name, velk::ValueDescriptor& value, uint32_t flags) override;
  velk::result_t Flush() override { return velk::errors::kOk; }
  IFileLocation* GetLocation() override { return location_.get(); }
  velk::result_t CreateIncludedStorage(IXmlFileStorage**, const std::string&, velk::IStorage*) override {
    return velk::errors::kNotImplemented;
  }
  using IXmlFileStorage::CreateNode;
  using IXmlFileStorage::GetNode;

 private:
  static velk::result_t give(const std::string& text, velk::ValueDescriptor& value);

  std::string name_;
  velk::Ref<IFileLocation> location_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::string text_;
  std::vector<velk::Ref<TestNode>> children_;
  int opened_ = 0;
};

// The root element of `xml`; every node is located in `file` at its row.
velk::Ref<TestNode> parseNodes(const std::string& xml, const std::string& file = "a.xml");

struct Report {
  std::string kind;  // "Message", "Error", "Warning" or "Info"
  std::string where;
  std::string text;
  bool operator==(const Report&) const = default;
};

class RecordingReporter : public velk::ObjectBase<StorageErrorReporter> {
 public:
  void ReportMessage(std::string_view text) override { add("Message", nullptr, text); }
  void ReportError(IFileLocation* at, std::string_view text) override { add("Error", at, text); }
  void ReportWarning(IFileLocation* at, std::string_view text) override { add("Warning", at, text); }
  void ReportInfo(IFileLocation* at, std::string_view text) override { add("Info", at, text); }

  std::vector<Report> reports;

 private:
  void add(const char* kind, IFileLocation* at, std::string_view text) {
    reports.push_back(Report{kind, at ? locationText(at) : std::string(), std::string(text)});
  }
};

// Copies a view into text: name, values in order, text, children; the way a
// reader would walk it, opening each child once.
std::string dump(IXmlFileStorage* node);

}  // namespace app_core::helpers::test

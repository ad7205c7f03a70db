// Presents an XML node whose data lives in element texts as a storage with
// values: the node's attributes (the "unique_id" marker among them) and its
// plain child elements, those without children or attributes, are values (the
// element text is the value); the other child elements are nodes, presented
// the same way. New values other than "unique_id" become child elements.
#pragma once

#include <string>
#include <vector>

#include "velk/storage.h"

namespace velk {

class ValuesFreeStorage : public ObjectBase<IStorage> {
 public:
  explicit ValuesFreeStorage(Ref<IStorage> node) : node_(std::move(node)) {}

  result_t CreateNode(std::string_view name, IStorage** child) override;
  result_t RemoveNode(std::string_view name) override;
  result_t GetNode(uint32_t index, IStorage** child) override;
  result_t GetNode(std::string_view name, IStorage** child) override;
  result_t GetName(char* buffer, uint32_t* size) override;
  result_t GetNodesCount(uint32_t* count) override;
  result_t GetNodeName(uint32_t index, char* buffer, uint32_t* size) override;
  result_t GetValuesCount(uint32_t* count) override;
  result_t GetValueName(uint32_t index, char* buffer, uint32_t* size) override;
  result_t WriteValue(std::string_view name, const ValueDescriptor& value, uint32_t flags) override;
  result_t ReadValue(uint32_t index, ValueDescriptor& value, uint32_t flags) override;
  result_t ReadValue(std::string_view name, ValueDescriptor& value, uint32_t flags) override;
  result_t Flush() override;

 private:
  struct Child {
    uint32_t index;  // in the wrapped node
    std::string name;
  };
  // Sorts the wrapped node's children into nodes and values, once.
  result_t scan();
  result_t readText(std::string_view name, std::string& text);
  bool isAttribute(std::string_view name);
  void invalidate() { scanned_ = false; }

  Ref<IStorage> node_;
  bool scanned_ = false;
  std::vector<std::string> attributes_;
  void splitRepeatedElements(std::vector<Child>& plain);

  std::vector<Child> nodes_;
  std::vector<Child> values_;
};

}  // namespace velk

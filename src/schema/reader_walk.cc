#include "schema/reader_walk.h"

#include <stdexcept>

#include "front/configuration_reader.h"
#include "front/element_reading.h"
#include "velk/exception.h"

namespace app_core::schema {
namespace {

using velk::result_t;

// The reader's tables do not nest this deep; a deeper walk means an element
// that contains itself, which the walk cannot unfold.
constexpr int kMaxDepth = 32;

AttributeShape shapeOf(const AttributeDescriptor& descriptor) {
  AttributeShape shape{std::string(descriptor.name), descriptor.optional, std::string(descriptor.grammar),
                       {}, {}, {}};
  if (descriptor.syntax) {
    for (std::string_view word : descriptor.syntax->keywords) shape.keywords.emplace_back(word);
    shape.otherTexts = descriptor.syntax->otherTexts;
  }
  if (descriptor.deprecation) shape.deprecationWarning = descriptor.deprecationWarning();
  return shape;
}

// Messages of a walk have no reader: the probe nodes stand nowhere.
class SilentReporter : public velk::ObjectBase<helpers::StorageErrorReporter> {
 public:
  void ReportMessage(std::string_view) override {}
  void ReportError(helpers::IFileLocation*, std::string_view) override {}
  void ReportWarning(helpers::IFileLocation*, std::string_view) override {}
  void ReportInfo(helpers::IFileLocation*, std::string_view) override {}
};

// A node with no content that records the tables the reader hands it, and
// walks each child table entry with a probe node of its own.
class TableProbeNode : public velk::ObjectBase<helpers::IXmlFileStorage, IReaderTableProbe> {
 public:
  TableProbeNode(ElementShape& shape, int depth) : shape_(shape), depth_(depth) {}

  void ProbeAttributes(const AttributeTable& table) override {
    shape_.attributes.emplace();
    for (const AttributeDescriptor& descriptor : table) shape_.attributes->push_back(shapeOf(descriptor));
  }

  void ProbeChildren(const ChildTable& table) override {
    if (depth_ >= kMaxDepth) throw std::runtime_error("reader tables nest too deep below " + shape_.name);
    shape_.children.emplace();
    // Reserved, so that the probes' references to their shapes hold.
    shape_.children->reserve(table.size());
    for (const ChildElementDescriptor& entry : table) {
      ElementShape& child = shape_.children->emplace_back(ElementShape{std::string(entry.name), {}, {}});
      auto node = velk::make<TableProbeNode>(child, depth_ + 1);
      try {
        entry.read(node.get());
      } catch (const velk::Exception&) {
        // A reader that needs more than tables (the schedule deserializer)
        // fails on a probe; what it read so far stands.
      }
    }
  }

  using IXmlFileStorage::CreateNode;
  using IXmlFileStorage::GetNode;

  helpers::IFileLocation* GetLocation() override { return nullptr; }
  result_t CreateIncludedStorage(helpers::IXmlFileStorage**, const std::string&, velk::IStorage*) override {
    return velk::errors::kNotImplemented;
  }
  result_t GetNode(std::string_view, helpers::IXmlFileStorage**) override { return velk::errors::kNotFound; }
  result_t GetNode(uint32_t, helpers::IXmlFileStorage**) override { return velk::errors::kNotFound; }
  result_t CreateNode(std::string_view, helpers::IXmlFileStorage**) override {
    return velk::errors::kNotImplemented;
  }
  result_t RemoveNode(std::string_view) override { return velk::errors::kNotImplemented; }
  result_t GetName(char* buffer, uint32_t* size) override { return velk::copyName(shape_.name, buffer, size); }
  result_t GetNodesCount(uint32_t* count) override {
    *count = 0;
    return velk::errors::kOk;
  }
  result_t GetNodeName(uint32_t, char*, uint32_t*) override { return velk::errors::kNotFound; }
  result_t GetValuesCount(uint32_t* count) override {
    *count = 0;
    return velk::errors::kOk;
  }
  result_t GetValueName(uint32_t, char*, uint32_t*) override { return velk::errors::kNotFound; }
  result_t WriteValue(std::string_view, const velk::ValueDescriptor&, uint32_t) override {
    return velk::errors::kNotImplemented;
  }
  result_t ReadValue(uint32_t, velk::ValueDescriptor&, uint32_t) override { return velk::errors::kNotFound; }
  result_t ReadValue(std::string_view, velk::ValueDescriptor&, uint32_t) override {
    return velk::errors::kNotFound;
  }
  result_t Flush() override { return velk::errors::kOk; }

 private:
  ElementShape& shape_;
  int depth_;
};

}  // namespace

ElementShape walkReader() {
  ElementShape root{"", {}, {}};
  auto reporter = velk::make<SilentReporter>();
  auto node = velk::make<TableProbeNode>(root, 0);
  SourceConfiguration source;
  readConfiguration(reporter.get(), node.get(), {}, source);
  return root;
}

}  // namespace app_core::schema

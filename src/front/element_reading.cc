#include "front/element_reading.h"

#include <stdexcept>

#include "front/compiler_messages.h"
#include "xmlfile/node_names.h"

namespace app_core {
namespace {

AttributeDescriptor* findDescriptor(AttributeTable& table, std::string_view name) {
  for (AttributeDescriptor& descriptor : table)
    if (descriptor.name == name) return &descriptor;
  return nullptr;
}

void readAttribute(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                   AttributeTable& table, uint32_t index) {
  helpers::IFileLocation* location = node->GetLocation();
  std::string name;
  velk::result_t r = readValueName(node, index, name);
  if (velk::failed(r)) return reportStorageError(reporter, location, r);
  AttributeDescriptor* descriptor = findDescriptor(table, name);
  if (!descriptor) {
    reporter->ReportError(location, "Unexpected '" + name + "'. Expected:" + descriptionList(table));
    return;
  }
  if (descriptor->seen) reporter->ReportError(location, "Duplicate attribute '" + name + "'");
  if (descriptor->parse({node, index, reporter}) == ParseOutcome::kAccepted) {
    descriptor->seen = true;
  } else {
    reporter->ReportError(location, "Invalid format. Expected: " + descriptor->description());
  }
}

// The probe behind `node`, when the node is one.
velk::Ref<IReaderTableProbe> probeOf(helpers::IXmlFileStorage* node) {
  velk::Ref<IReaderTableProbe> probe;
  if (velk::failed(node->QueryInterface(IReaderTableProbe::IID, probe.putVoid()))) return {};
  return probe;
}

}  // namespace

std::string AttributeDescriptor::description() const {
  return std::string(name) + (optional ? " (optional)" : "") + " = " + std::string(grammar);
}

std::string AttributeDescriptor::deprecationWarning() const {
  return deprecatedAttribute(name, deprecation.value_or(std::string_view()));
}

AttributeDescriptor deprecated(AttributeDescriptor descriptor, std::string_view advice) {
  descriptor.deprecation = advice;
  return descriptor;
}

const AttributeDescriptor& descriptorNamed(const AttributeTable& table, std::string_view name) {
  for (const AttributeDescriptor& descriptor : table)
    if (descriptor.name == name) return descriptor;
  throw std::logic_error("no attribute descriptor " + std::string(name));
}

std::string descriptionList(const AttributeTable& table) {
  std::string list;
  for (const AttributeDescriptor& descriptor : table) list += "\n    " + descriptor.description();
  return list;
}

void reportStorageError(helpers::StorageErrorReporter* reporter, helpers::IFileLocation* location,
                        velk::result_t r) {
  reporter->ReportError(location, "XmlStorage error: " + velk::applicationText(r));
}

void readAttributes(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                    AttributeTable& table) {
  if (auto probe = probeOf(node)) return probe->ProbeAttributes(table);
  uint32_t count = 0;
  velk::result_t r = node->GetValuesCount(&count);
  if (velk::failed(r)) return reportStorageError(reporter, node->GetLocation(), r);
  for (uint32_t index = 0; index < count; ++index) readAttribute(reporter, node, table, index);
  for (const AttributeDescriptor& descriptor : table) {
    if (!descriptor.optional && !descriptor.seen)
      reporter->ReportError(node->GetLocation(), "Missing required field: " + descriptor.description());
  }
}

namespace {

void readEachChild(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                   const ChildTable& table, bool forgetEach) {
  if (auto probe = probeOf(node)) return probe->ProbeChildren(table);
  uint32_t count = 0;
  velk::result_t r = node->GetNodesCount(&count);
  if (velk::failed(r)) return reportStorageError(reporter, node->GetLocation(), r);
  for (uint32_t index = 0; index < count; ++index) {
    velk::Ref<helpers::IXmlFileStorage> child;
    std::string name;
    r = node->GetNode(index, child.put());
    if (velk::succeeded(r)) r = readNodeName(child.get(), name);
    if (velk::failed(r)) {
      reportStorageError(reporter, node->GetLocation(), r);
      continue;
    }
    const ChildElementDescriptor* entry = nullptr;
    for (const ChildElementDescriptor& candidate : table) {
      if (candidate.name == name) {
        entry = &candidate;
        break;
      }
    }
    if (entry) {
      entry->read(child.get());
    } else {
      std::string expected;
      for (const ChildElementDescriptor& candidate : table) expected += "\n    " + std::string(candidate.name);
      reporter->ReportError(child->GetLocation(), "Unexpected '" + name + "'. Expected one of:" + expected);
    }
    if (forgetEach) node->ForgetNode(index);
  }
}

}  // namespace

void readChildren(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                  const ChildTable& table) {
  readEachChild(reporter, node, table, false);
}

void readChildrenOnce(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                      const ChildTable& table) {
  readEachChild(reporter, node, table, true);
}

bool reportRepeated(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* child,
                    std::string_view name, helpers::IFileLocation* earlierLocation) {
  reporter->ReportError(child->GetLocation(), alreadyDefined(name, earlierLocation));
  return false;
}

}  // namespace app_core

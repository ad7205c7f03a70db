#include "xmlfile/streamed_xml_storage.h"

#include "xmlfile/streamed_xml_print.h"
#include "xmlfile/value_text.h"
#include "xmlfile/xml_names.h"

namespace velk {

Ref<StreamedXmlStorage> StreamedXmlStorage::createDocument(std::string_view rootName, Ref<IIO> destination) {
  auto print = std::make_shared<StreamedXmlPrint>(std::move(destination));
  uint64_t serial = print->openRoot(xml::storedName(rootName));
  return make<StreamedXmlStorage>(std::move(print), size_t{0}, serial);
}

StreamedXmlStorage::StreamedXmlStorage(std::shared_ptr<StreamedXmlPrint> print, size_t depth, uint64_t serial)
    : print_(std::move(print)), depth_(depth), serial_(serial) {}

result_t StreamedXmlStorage::printTo(IIO& io) { return print_->printTo(io); }

result_t StreamedXmlStorage::CreateNode(std::string_view name, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  if (!print_->isOpen(depth_, serial_)) return errors::kInvalidState;
  uint64_t serial = 0;
  if (!print_->open(depth_, xml::storedName(name), serial)) return errors::kInvalidState;
  *child = make<StreamedXmlStorage>(print_, depth_ + 1, serial).detach();
  return errors::kOk;
}

result_t StreamedXmlStorage::WriteValue(std::string_view name, const ValueDescriptor& value, uint32_t) {
  if (!print_->isOpen(depth_, serial_)) return errors::kInvalidState;
  if (value.baseType() == kTypeEmpty) {
    if (name.empty()) {
      print_->removeText(depth_);
    } else if (auto stored = xml::lookupName(name)) {
      print_->removeAttribute(depth_, *stored);
    }
    return errors::kOk;
  }
  std::string text;
  if (failed(xml::valueToText(value, text))) return errors::kUnspecified;
  if (name.empty()) {
    print_->setText(depth_, std::move(text));
  } else {
    print_->setAttribute(depth_, xml::storedName(name), std::move(text));
  }
  return errors::kOk;
}

result_t StreamedXmlStorage::Flush() {
  IIO* destination = print_->destination();
  return destination ? print_->printTo(*destination) : errors::kUnspecified;
}

// Nothing written can be read back.
result_t StreamedXmlStorage::RemoveNode(std::string_view) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetNode(uint32_t, IStorage**) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetNode(std::string_view, IStorage**) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetName(char*, uint32_t*) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetNodesCount(uint32_t*) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetNodeName(uint32_t, char*, uint32_t*) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetValuesCount(uint32_t*) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::GetValueName(uint32_t, char*, uint32_t*) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::ReadValue(uint32_t, ValueDescriptor&, uint32_t) { return errors::kNotImplemented; }
result_t StreamedXmlStorage::ReadValue(std::string_view, ValueDescriptor&, uint32_t) { return errors::kNotImplemented; }

}  // namespace velk

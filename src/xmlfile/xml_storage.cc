#include "xmlfile/xml_storage.h"

#include "xmlfile/printed_element.h"
#include "xmlfile/value_text.h"
#include "xmlfile/xml_names.h"

namespace velk {
namespace {

bool wantsCdata(const std::string& text) {
  return text.find_first_of("\"'&<>\r\n") != std::string::npos && text.find("]]>") == std::string::npos;
}

uint32_t countOf(const TiXmlElement* first) {
  uint32_t count = 0;
  for (; first; first = first->NextSiblingElement()) ++count;
  return count;
}

}  // namespace

XmlStorage::XmlStorage(std::shared_ptr<XmlDocument> document, TiXmlElement* element)
    : document_(std::move(document)), element_(element) {
  document_->addNode(this);
}

XmlStorage::~XmlStorage() { document_->removeNode(this); }

result_t XmlStorage::wrap(TiXmlElement* element, IStorage** out) {
  auto node = make<XmlStorage>(document_, element);
  *out = node.detach();
  return errors::kOk;
}

TiXmlElement* XmlStorage::childAt(uint32_t index) {
  Cursor<TiXmlElement>& cursor = childCursor_;
  if (cursor.generation != document_->generation() || !cursor.item || cursor.index > index) {
    cursor = {document_->generation(), 0, element_->FirstChildElement()};
  }
  while (cursor.item && cursor.index < index) {
    cursor.item = cursor.item->NextSiblingElement();
    ++cursor.index;
  }
  return cursor.item;
}

const TiXmlAttribute* XmlStorage::attributeAt(uint32_t index) {
  Cursor<const TiXmlAttribute>& cursor = attributeCursor_;
  if (cursor.generation != document_->generation() || !cursor.item || cursor.index > index) {
    cursor = {document_->generation(), 0, element_->FirstAttribute()};
  }
  while (cursor.item && cursor.index < index) {
    cursor.item = cursor.item->Next();
    ++cursor.index;
  }
  return cursor.item;
}

result_t XmlStorage::CreateNode(std::string_view name, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  if (!element_) return errors::kInvalidState;
  auto* created = new TiXmlElement(xml::storedName(name));
  element_->LinkEndChild(created);
  document_->markChanged();
  return wrap(created, child);
}

result_t XmlStorage::RemoveNode(std::string_view name) {
  if (!element_) return errors::kInvalidState;
  auto stored = xml::lookupName(name);
  TiXmlElement* child = stored ? element_->FirstChildElement(*stored) : nullptr;
  if (!child) return errors::kNotFound;
  document_->detachNodesWithin(child);
  element_->RemoveChild(child);
  document_->markChanged();
  return errors::kOk;
}

result_t XmlStorage::GetNode(uint32_t index, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  if (!element_) return errors::kInvalidState;
  TiXmlElement* found = childAt(index);
  return found ? wrap(found, child) : errors::kInvalidIndex;
}

result_t XmlStorage::GetNode(std::string_view name, IStorage** child) {
  if (!child) return errors::kInvalidArgument;
  *child = nullptr;
  if (!element_) return errors::kInvalidState;
  auto stored = xml::lookupName(name);
  TiXmlElement* found = stored ? element_->FirstChildElement(*stored) : nullptr;
  return found ? wrap(found, child) : errors::kNotFound;
}

result_t XmlStorage::GetName(char* buffer, uint32_t* size) {
  if (!element_) return errors::kInvalidState;
  return copyName(element_->ValueStr(), buffer, size);
}

result_t XmlStorage::GetNodesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  if (!element_) return errors::kInvalidState;
  *count = countOf(element_->FirstChildElement());
  return errors::kOk;
}

result_t XmlStorage::GetNodeName(uint32_t index, char* buffer, uint32_t* size) {
  if (!element_) return errors::kInvalidState;
  TiXmlElement* found = childAt(index);
  return found ? copyName(found->ValueStr(), buffer, size) : errors::kInvalidIndex;
}

result_t XmlStorage::GetValuesCount(uint32_t* count) {
  if (!count) return errors::kInvalidArgument;
  if (!element_) return errors::kInvalidState;
  uint32_t n = 0;
  for (const TiXmlAttribute* a = element_->FirstAttribute(); a; a = a->Next()) ++n;
  *count = n;
  return errors::kOk;
}

result_t XmlStorage::GetValueName(uint32_t index, char* buffer, uint32_t* size) {
  if (!element_) return errors::kInvalidState;
  const TiXmlAttribute* found = attributeAt(index);
  return found ? copyName(found->NameTStr(), buffer, size) : errors::kInvalidIndex;
}

result_t XmlStorage::WriteValue(std::string_view name, const ValueDescriptor& value, uint32_t) {
  if (!element_) return errors::kInvalidState;
  if (value.baseType() == kTypeEmpty) {
    if (name.empty()) {
      removeText();
    } else if (auto stored = xml::lookupName(name)) {
      element_->RemoveAttribute(*stored);
    }
    document_->markChanged();
    return errors::kOk;
  }
  std::string text;
  if (failed(xml::valueToText(value, text))) return errors::kUnspecified;
  if (name.empty()) {
    setText(text);
  } else {
    element_->SetAttribute(xml::storedName(name), text);
  }
  document_->markChanged();
  return errors::kOk;
}

result_t XmlStorage::ReadValue(uint32_t index, ValueDescriptor& value, uint32_t) {
  if (!element_) return errors::kInvalidState;
  const TiXmlAttribute* found = attributeAt(index);
  return found ? xml::textToValue(found->ValueStr(), value) : errors::kInvalidIndex;
}

result_t XmlStorage::ReadValue(std::string_view name, ValueDescriptor& value, uint32_t) {
  if (!element_) return errors::kInvalidState;
  if (name.empty()) {
    const TiXmlText* text = firstText();
    return xml::textToValue(text ? text->ValueStr() : std::string(), value);
  }
  auto stored = xml::lookupName(name);
  const std::string* text = stored ? element_->Attribute(*stored) : nullptr;
  return text ? xml::textToValue(*text, value) : errors::kNotFound;
}

result_t XmlStorage::Flush() { return document_->flush(); }

result_t XmlStorage::GetPosition(int* row, int* column) {
  if (!row || !column) return errors::kInvalidArgument;
  // Elements made after parsing have no place in any source text.
  if (!element_ || element_->Row() <= 0) return errors::kNotFound;
  *row = element_->Row();
  *column = element_->Column();
  return errors::kOk;
}

TiXmlText* XmlStorage::firstText() {
  for (TiXmlNode* child = element_->FirstChild(); child; child = child->NextSibling())
    if (TiXmlText* text = child->ToText()) return text;
  return nullptr;
}

void XmlStorage::setText(const std::string& text) {
  TiXmlText* node = firstText();
  if (!node) node = static_cast<TiXmlText*>(element_->LinkEndChild(new TiXmlText("")));
  node->SetValue(text);
  node->SetCDATA(document_->cdataOption() && wantsCdata(text));
}

result_t XmlStorage::KeepAsPrinted() {
  if (!element_) return errors::kInvalidState;
  TiXmlElement* element = element_;
  if (!xml::printableInPlace(element)) return errors::kNotSupported;
  document_->detachNodesWithin(element);
  xml::replaceByPrintedText(element);
  // The printed document is the same, but cached positions are not.
  document_->markChanged();
  return errors::kOk;
}

void XmlStorage::removeText() {
  while (TiXmlText* text = firstText()) element_->RemoveChild(text);
}

}  // namespace velk

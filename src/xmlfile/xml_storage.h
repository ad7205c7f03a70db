// A storage node over one element of an XML document: child elements are
// child nodes, attributes are values, the element's text is the value with
// the empty name. Names are stored by the rules of xml_names.h; CreateNode
// and WriteValue throw wrappers::XmlStorageException for a name with a
// character that no XML name may hold. A node whose element was removed
// through its parent answers kInvalidState from then on.
#pragma once

#include <memory>

#include "velk/storage.h"
#include "xmlfile/keep_as_printed.h"
#include "xmlfile/xml_document.h"

namespace velk {

class XmlStorage : public ObjectBase<IStorage, IStoragePosition, IKeepAsPrinted> {
 public:
  XmlStorage(std::shared_ptr<XmlDocument> document, TiXmlElement* element);

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

  result_t GetPosition(int* row, int* column) override;
  result_t KeepAsPrinted() override;

  // Null once the element was removed from the document.
  const TiXmlElement* element() const { return element_; }
  void detach() { element_ = nullptr; }

 private:
  friend class XmlDocument;  // threads its list of live nodes through them

  ~XmlStorage() override;

  // Walking forward from the last position asked keeps enumerations by
  // index linear.
  template <class T>
  struct Cursor {
    uint64_t generation = ~uint64_t(0);
    uint32_t index = 0;
    T* item = nullptr;
  };

  result_t wrap(TiXmlElement* element, IStorage** out);
  TiXmlElement* childAt(uint32_t index);
  const TiXmlAttribute* attributeAt(uint32_t index);
  TiXmlText* firstText();
  void setText(const std::string& text);
  void removeText();

  std::shared_ptr<XmlDocument> document_;
  TiXmlElement* element_;
  Cursor<TiXmlElement> childCursor_;
  Cursor<const TiXmlAttribute> attributeCursor_;
  XmlStorage* previousNode_ = nullptr;
  XmlStorage* nextNode_ = nullptr;
};

}  // namespace velk

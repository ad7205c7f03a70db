// A new XML document that is only written, front to back, and printed as it
// goes: no element tree is kept, only the printed text and the elements still
// open. A command's new output file (a pack, a preprocess, an export into a
// missing file) needs nothing else, and a tree of it would cost about ten
// times its text. The print is byte for byte what XmlDocument prints for the
// same writes (four blanks per level, CR LF line ends, no declaration).
//
// Writes come in document order. An element is finished when its parent makes
// its next child, or when an element around it or the whole document is
// finished; writing to a finished element, or making a child after the
// element's text was written, answers kInvalidState. Values and text may be
// written, rewritten and removed until the element is finished. Reading
// answers kNotImplemented.
#pragma once

#include <memory>
#include <string_view>

#include "velk/storage.h"
#include "xmlfile/io.h"

namespace velk {

class StreamedXmlPrint;

class StreamedXmlStorage : public ObjectBase<IStorage> {
 public:
  // The root element of a new document. Flush writes the print to
  // `destination` (kUnspecified when there is none); nothing is written when
  // the last node goes.
  static Ref<StreamedXmlStorage> createDocument(std::string_view rootName, Ref<IIO> destination = {});

  StreamedXmlStorage(std::shared_ptr<StreamedXmlPrint> print, size_t depth, uint64_t serial);

  // Finishes every element and writes the whole print into `io`, in place of
  // what it held.
  result_t printTo(IIO& io);

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
  std::shared_ptr<StreamedXmlPrint> print_;
  // Where the element stands among the open ones, and which element it was.
  size_t depth_;
  uint64_t serial_;
};

}  // namespace velk

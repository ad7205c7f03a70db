// The framework's XML storage service: makes storage node trees over XML
// documents read from files or input/output objects, or over new documents.
//
// A storage writes its document back to where it came from on Flush and,
// when it was changed since, once its last node is released; Flush of a
// document with nowhere to go gives kUnspecified. Documents are printed with
// four blanks per level and CR LF line ends, without an XML declaration of
// their own.
#pragma once

#include <string>
#include <string_view>

#include "velk/service_locator.h"
#include "velk/storage.h"
#include "xmlfile/io.h"
#include "xmlfile/xml_document.h"
#include "xmlfile/xml_parse_error.h"

namespace velk {

constexpr clsid_t kXmlStorageFactoryClass = 0x6332D8FD;

// The record a key-value database holds for a key that was just made.
constexpr std::string_view kNewRecordDocument = "<root></root>";

struct IXmlStorageFactory : IObject {
  static constexpr iid_t IID = 0x47EAA67D;

  // Reads and parses a file; the storage writes back to the same path. An
  // unreadable file gives the platform code of the failure; a document
  // that cannot be parsed gives kUnspecified and fills `error`.
  virtual result_t OpenFile(const std::string& path, uint32_t options, IStorage** root,
                            XmlParseError* error) = 0;
  // Reads the whole content of `io` through its size and read operations
  // and parses it; the storage writes back through `io`, unless `options`
  // has kXmlReadOnlyOption, which leaves `io` to the caller. A failing read
  // throws ResultCodeException "Can't read from IO object. Error code: ...".
  virtual result_t ParseIo(IIO* io, uint32_t options, IStorage** root, XmlParseError* error) = 0;
  // A new document with one root element; `destination` may be null.
  virtual result_t CreateDocument(std::string_view rootName, IIO* destination, uint32_t options,
                                  IStorage** root) = 0;
};

class XmlStorageFactory : public ObjectBase<IXmlStorageFactory> {
 public:
  explicit XmlStorageFactory(IServiceLocator* locator = nullptr);

  result_t OpenFile(const std::string& path, uint32_t options, IStorage** root,
                    XmlParseError* error) override;
  result_t ParseIo(IIO* io, uint32_t options, IStorage** root, XmlParseError* error) override;
  result_t CreateDocument(std::string_view rootName, IIO* destination, uint32_t options,
                          IStorage** root) override;

 private:
  result_t parse(const std::string& text, uint32_t options, XmlDocument::Destination destination,
                 IStorage** root, XmlParseError* error);
};

}  // namespace velk

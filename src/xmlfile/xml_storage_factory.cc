#include "xmlfile/xml_storage_factory.h"

#include <memory>

#include "xmlfile/file_io.h"
#include "xmlfile/xml_input_check.h"
#include "xmlfile/xml_names.h"
#include "xmlfile/xml_storage.h"

namespace velk {
namespace {

constexpr const char* kFactorySource = "velk/util/serialization/xml_storage_factory";

void throwReadFailure(result_t r) {
  throw ResultCodeError({kFactorySource, 71}, "Can't read from IO object. Error code: " + hexId(uint32_t(r)),
                        r);
}

void takeParserError(const TiXmlDocument& document, XmlParseError* error) {
  if (!error) return;
  error->description = document.ErrorDesc();
  error->row = document.ErrorRow();
  error->column = document.ErrorCol();
}

result_t makeRoot(std::unique_ptr<TiXmlDocument> parsed, uint32_t options, XmlDocument::Destination destination,
                  IStorage** root) {
  TiXmlElement* element = parsed->RootElement();
  auto document = std::make_shared<XmlDocument>(std::move(parsed), options, std::move(destination));
  *root = make<XmlStorage>(std::move(document), element).detach();
  return errors::kOk;
}

}  // namespace

XmlStorageFactory::XmlStorageFactory(IServiceLocator*) {}

result_t XmlStorageFactory::OpenFile(const std::string& path, uint32_t options, IStorage** root,
                                     XmlParseError* error) {
  if (!root) return errors::kInvalidArgument;
  *root = nullptr;
  Ref<IIO> file;
  result_t r = FileIo::open(path, FileIo::Mode::kRead, file);
  if (failed(r)) return r;
  std::string text;
  r = readRest(*file, text);
  if (failed(r)) return r;
  file.reset();
  return parse(text, options, {nullptr, path}, root, error);
}

result_t XmlStorageFactory::ParseIo(IIO* io, uint32_t options, IStorage** root, XmlParseError* error) {
  if (!root || !io) return errors::kInvalidArgument;
  *root = nullptr;
  std::string text;
  result_t r = readRest(*io, text);
  if (failed(r)) throwReadFailure(r);
  XmlDocument::Destination destination;
  if (!(options & kXmlReadOnlyOption)) destination.io = Ref<IIO>(io);
  return parse(text, options, std::move(destination), root, error);
}

result_t XmlStorageFactory::CreateDocument(std::string_view rootName, IIO* destination, uint32_t options,
                                           IStorage** root) {
  if (!root) return errors::kInvalidArgument;
  *root = nullptr;
  auto document = std::make_unique<TiXmlDocument>();
  document->LinkEndChild(new TiXmlElement(xml::storedName(rootName)));
  return makeRoot(std::move(document), options, {Ref<IIO>(destination), {}}, root);
}

result_t XmlStorageFactory::parse(const std::string& text, uint32_t options, XmlDocument::Destination destination,
                                  IStorage** root, XmlParseError* error) {
  XmlParseError refused;
  if (!xml::checkXmlInput(text, refused)) {
    if (error) *error = refused;
    return errors::kUnspecified;
  }
  auto document = std::make_unique<TiXmlDocument>();
  document->Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
  // A document of comments or declarations alone has no element to stand
  // for its top node.
  if (!document->Error() && !document->RootElement())
    document->SetError(TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY, nullptr, nullptr, TIXML_ENCODING_UTF8);
  if (document->Error()) {
    takeParserError(*document, error);
    return errors::kUnspecified;
  }
  return makeRoot(std::move(document), options, std::move(destination), root);
}

}  // namespace velk

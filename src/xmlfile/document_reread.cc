#include "xmlfile/document_reread.h"

#include <tinyxml.h>

#include "xmlfile/utf8.h"
#include "xmlfile/xml_input_check.h"

namespace app_core {
namespace {

// Printed as the XML storage prints its documents.
std::string print(const TiXmlNode& node) {
  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak("\r\n");
  node.Accept(&printer);
  return printer.Str();
}

// Parsed as the XML storage parses; null for text it would refuse.
const TiXmlElement* parse(TiXmlDocument& document, const std::string& text) {
  velk::XmlParseError refused;
  if (!velk::xml::checkXmlInput(text, refused)) return nullptr;
  document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
  return document.Error() ? nullptr : document.RootElement();
}

// Text made only of printable characters with single blanks between words
// reads back as it is; most texts are like that.
bool plainlyKept(const std::string& text) {
  if (text.empty() || text.front() == ' ' || text.back() == ' ') return false;
  if (text.find("  ") != std::string::npos) return false;
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return velk::xml::validUtf8Length(text) == text.size();
}

}  // namespace

std::optional<std::string> rereadText(const std::string& text) {
  if (plainlyKept(text)) return text;
  TiXmlDocument written;
  auto* element = new TiXmlElement("a");
  written.LinkEndChild(element);
  element->LinkEndChild(new TiXmlText(text));
  TiXmlDocument read;
  const TiXmlElement* root = parse(read, print(written));
  if (!root) return std::nullopt;
  const char* kept = root->GetText();
  return std::string(kept ? kept : "");
}

bool rereadKeepsAttribute(const std::string& value) {
  if (value.empty() || plainlyKept(value)) return true;
  TiXmlDocument written;
  auto* element = new TiXmlElement("a");
  written.LinkEndChild(element);
  element->SetAttribute("v", value);
  TiXmlDocument read;
  const TiXmlElement* root = parse(read, print(written));
  const std::string* kept = root ? root->Attribute(std::string("v")) : nullptr;
  return kept && *kept == value;
}

bool rereadKeepsDocument(std::string_view document) {
  TiXmlDocument first;
  if (!parse(first, std::string(document))) return false;
  std::string printed = print(first);
  TiXmlDocument second;
  return parse(second, printed) && print(second) == printed;
}

}  // namespace app_core

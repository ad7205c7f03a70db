#include "xmlfile/printed_element.h"

#include <string>
#include <string_view>

#include <tinyxml.h>

namespace velk::xml {
namespace {

constexpr std::string_view kIndent = "    ";
constexpr std::string_view kLineBreak = "\r\n";

// An "unknown" node prints as its indent, "<", its value, ">" and a line
// break, which is how a printed element begins and ends: its value is the
// element's print without those, and a following element's print is appended
// to it the same way.
class PrintedText : public TiXmlUnknown {
 public:
  explicit PrintedText(std::string text) { value = std::move(text); }
  void append(std::string_view text) { value.append(text); }
};

bool hasControlCharacters(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return true;
  return false;
}

// Line breaks in the print are then the printer's own: no text holds one,
// not even inside the character references the printer passes through.
bool plainInside(const TiXmlElement* element) {
  if (hasControlCharacters(element->ValueStr())) return false;
  for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
    if (hasControlCharacters(a->NameTStr()) || hasControlCharacters(a->ValueStr())) return false;
  for (const TiXmlNode* child = element->FirstChild(); child; child = child->NextSibling()) {
    if (const TiXmlElement* inner = child->ToElement()) {
      if (!plainInside(inner)) return false;
    } else if (const TiXmlText* text = child->ToText()) {
      if (text->CDATA() || hasControlCharacters(text->ValueStr())) return false;
    } else {
      return false;
    }
  }
  return true;
}

uint32_t depthOf(const TiXmlElement* element) {
  uint32_t depth = 0;
  for (const TiXmlNode* at = element->Parent(); at && at->ToElement(); at = at->Parent()) ++depth;
  return depth;
}

// The element as the document's printer writes it, `depth` levels in.
std::string printAt(const TiXmlElement& element, uint32_t depth) {
  TiXmlPrinter printer;
  printer.SetIndent(std::string(kIndent).c_str());
  printer.SetLineBreak(std::string(kLineBreak).c_str());
  element.Accept(&printer);
  std::string_view alone = printer.Str();
  std::string indent;
  for (uint32_t i = 0; i < depth; ++i) indent += kIndent;
  std::string text;
  text.reserve(alone.size() + alone.size() / 8 * depth);
  while (!alone.empty()) {
    size_t end = alone.find(kLineBreak);
    end = end == std::string_view::npos ? alone.size() : end + kLineBreak.size();
    text.append(indent).append(alone.substr(0, end));
    alone.remove_prefix(end);
  }
  return text;
}

}  // namespace

bool printableInPlace(const TiXmlElement* element) {
  const TiXmlNode* parent = element->Parent();
  if (!parent || !parent->ToElement()) return false;
  const TiXmlNode* before = element->PreviousSibling();
  bool afterKeptText = before && dynamic_cast<const PrintedText*>(before);
  if (!afterKeptText && parent->LastChild() != element) return false;
  return plainInside(element);
}

void replaceByPrintedText(TiXmlElement* element) {
  uint32_t depth = depthOf(element);
  std::string text = printAt(*element, depth);
  // "<indent><...>\r\n": the value is what lies between "<indent><" and ">\r\n".
  std::string_view closing = ">\r\n";
  text.resize(text.size() - closing.size());
  TiXmlNode* parent = element->Parent();
  if (auto* before = dynamic_cast<PrintedText*>(element->PreviousSibling())) {
    before->append(closing);
    before->append(text);
    parent->RemoveChild(element);
    return;
  }
  text.erase(0, depth * kIndent.size() + 1);
  parent->RemoveChild(element);
  parent->LinkEndChild(new PrintedText(std::move(text)));
}

}  // namespace velk::xml

#include "xmlfile/streamed_xml_print.h"

#include <algorithm>
#include <limits>

namespace velk {
namespace {

constexpr std::string_view kIndent = "    ";
constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

uint64_t StreamedXmlPrint::openRoot(std::string name) {
  open_.push_back({++serials_, std::move(name), {}, {}, kNoStartTag});
  return serials_;
}

bool StreamedXmlPrint::open(size_t parentDepth, std::string name, uint64_t& serial) {
  if (open_[parentDepth].text) return false;
  finishDeeperThan(parentDepth);
  Element& parent = open_[parentDepth];
  if (parent.startTag == kNoStartTag) {
    parent.startTag = startTags_.size();
    startTags_.push_back({text_.size(), {}});
  }
  serial = ++serials_;
  open_.push_back({serial, std::move(name), {}, {}, kNoStartTag});
  return true;
}

// As the parser's element does: a rewritten attribute keeps its place.
void StreamedXmlPrint::setAttribute(size_t depth, std::string name, std::string value) {
  auto& attributes = open_[depth].attributes;
  for (auto& [known, old] : attributes) {
    if (known == name) {
      old = std::move(value);
      return;
    }
  }
  attributes.emplace_back(std::move(name), std::move(value));
}

void StreamedXmlPrint::removeAttribute(size_t depth, const std::string& name) {
  auto& attributes = open_[depth].attributes;
  auto found = std::find_if(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == name; });
  if (found != attributes.end()) attributes.erase(found);
}

void StreamedXmlPrint::finishDeeperThan(size_t depth) {
  while (open_.size() > depth + 1) finishLast();
}

void StreamedXmlPrint::indent(std::string& out, size_t depth) const {
  for (size_t i = 0; i < depth; ++i) out += kIndent;
}

void StreamedXmlPrint::appendStartTag(std::string& out, const Element& element) {
  out += '<';
  out += element.name;
  for (const auto& [name, value] : element.attributes) {
    out += ' ';
    attribute_.SetName(name);
    attribute_.SetValue(value);
    attribute_.Print(nullptr, 0, &out);
  }
}

void StreamedXmlPrint::appendText(std::string& out, const std::string& text) {
  std::string encoded;
  TiXmlBase::EncodeString(text, &encoded);
  out += encoded;
}

// The printer's rules: an element without children closes its own tag; one
// whose only child is its text keeps it on the tag's line; any other gets
// its children (the text last) on lines of their own, one level deeper.
void StreamedXmlPrint::finishLast() {
  Element& element = open_.back();
  size_t depth = open_.size() - 1;
  if (element.startTag == kNoStartTag) {
    indent(text_, depth);
    appendStartTag(text_, element);
    if (element.text) {
      text_ += '>';
      appendText(text_, *element.text);
      text_ += "</";
      text_ += element.name;
      text_ += '>';
    } else {
      text_ += " />";
    }
  } else {
    std::string& start = startTags_[element.startTag].text;
    indent(start, depth);
    appendStartTag(start, element);
    start += '>';
    start += kLineBreak;
    if (element.text) {
      indent(text_, depth + 1);
      appendText(text_, *element.text);
      text_ += kLineBreak;
    }
    indent(text_, depth);
    text_ += "</";
    text_ += element.name;
    text_ += '>';
  }
  text_ += kLineBreak;
  open_.pop_back();
}

result_t StreamedXmlPrint::printTo(IIO& io) {
  while (!open_.empty()) finishLast();
  size_t size = text_.size();
  for (const StartTag& tag : startTags_) size += tag.text.size();
  if (size > std::numeric_limits<uint32_t>::max()) return errors::kInvalidSize;
  // Room first, as a document's flush takes it: a full disk fails here,
  // before the old bytes are overwritten.
  uint64_t oldSize = 0;
  result_t r = io.GetSize(&oldSize);
  if (succeeded(r) && size > oldSize) r = io.SetSize(size);
  if (succeeded(r)) r = io.Seek(0);
  size_t at = 0;
  auto write = [&](const char* bytes, size_t count) {
    uint32_t written = 0;
    if (succeeded(r) && count) r = io.Write(bytes, static_cast<uint32_t>(count), &written);
    if (succeeded(r) && written != count) r = errors::kUnspecified;
  };
  for (const StartTag& tag : startTags_) {
    write(text_.data() + at, tag.offset - at);
    write(tag.text.data(), tag.text.size());
    at = tag.offset;
  }
  write(text_.data() + at, text_.size() - at);
  if (succeeded(r)) r = io.SetSize(size);
  if (succeeded(r)) r = io.Flush();
  return failed(r) ? r : errors::kOk;
}

}  // namespace velk

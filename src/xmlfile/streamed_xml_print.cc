#include "xmlfile/streamed_xml_print.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace velk {
namespace {

constexpr std::string_view kIndent = "    ";
constexpr std::string_view kLineBreak = "\r\n";

// Whether the printer writes `text` as it stands: it escapes "&", "<",
// ">", the quotes and the control characters (the zero among them) and
// nothing else. Most texts are such, and the printer appends a character
// at a time.
bool printedAsIs(const std::string& text) {
  static constexpr char kEscaped[] =
      "&<>\"'\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F"
      "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F";
  return std::strcspn(text.c_str(), kEscaped) == text.size();
}

}  // namespace

uint64_t StreamedXmlPrint::push(std::string_view name) {
  if (openCount_ == open_.size()) open_.emplace_back();
  Element& element = open_[openCount_++];
  element.serial = ++serials_;
  element.name.assign(name);
  element.attributeCount = 0;
  element.hasText = false;
  element.startTag = kNoStartTag;
  return element.serial;
}

bool StreamedXmlPrint::open(size_t parentDepth, std::string_view name, uint64_t& serial) {
  if (open_[parentDepth].hasText) return false;
  finishDeeperThan(parentDepth);
  Element& parent = open_[parentDepth];
  if (parent.startTag == kNoStartTag) {
    parent.startTag = startTags_.size();
    startTags_.push_back({text_.size(), {}});
  }
  serial = push(name);
  return true;
}

// As the parser's element does: a rewritten attribute keeps its place.
void StreamedXmlPrint::setAttribute(size_t depth, std::string_view name, std::string_view value) {
  Element& element = open_[depth];
  for (size_t i = 0; i < element.attributeCount; ++i) {
    if (element.attributes[i].first == name) {
      element.attributes[i].second.assign(value);
      return;
    }
  }
  if (element.attributeCount == element.attributes.size()) element.attributes.emplace_back();
  auto& slot = element.attributes[element.attributeCount++];
  slot.first.assign(name);
  slot.second.assign(value);
}

void StreamedXmlPrint::removeAttribute(size_t depth, const std::string& name) {
  Element& element = open_[depth];
  auto begin = element.attributes.begin();
  auto end = begin + static_cast<std::ptrdiff_t>(element.attributeCount);
  auto found = std::find_if(begin, end, [&](const auto& a) { return a.first == name; });
  if (found == end) return;
  std::rotate(found, found + 1, end);
  --element.attributeCount;
}

void StreamedXmlPrint::setText(size_t depth, std::string_view text) {
  open_[depth].text.assign(text);
  open_[depth].hasText = true;
}

void StreamedXmlPrint::finishDeeperThan(size_t depth) {
  while (openCount_ > depth + 1) finishLast();
}

void StreamedXmlPrint::indent(std::string& out, size_t depth) const {
  for (size_t i = 0; i < depth; ++i) out += kIndent;
}

void StreamedXmlPrint::appendStartTag(std::string& out, const Element& element) {
  out += '<';
  out += element.name;
  for (size_t i = 0; i < element.attributeCount; ++i) {
    const auto& [name, value] = element.attributes[i];
    out += ' ';
    attribute_.SetName(name);
    attribute_.SetValue(value);
    attribute_.Print(nullptr, 0, &out);
  }
}

void StreamedXmlPrint::appendText(std::string& out, const std::string& text) {
  if (printedAsIs(text)) {
    out += text;
    return;
  }
  encoded_.clear();
  TiXmlBase::EncodeString(text, &encoded_);
  out += encoded_;
}

// The printer's rules: an element without children closes its own tag; one
// whose only child is its text keeps it on the tag's line; any other gets
// its children (the text last) on lines of their own, one level deeper.
void StreamedXmlPrint::finishLast() {
  size_t depth = openCount_ - 1;
  Element& element = open_[depth];
  if (element.startTag == kNoStartTag) {
    indent(text_, depth);
    appendStartTag(text_, element);
    if (element.hasText) {
      text_ += '>';
      appendText(text_, element.text);
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
    if (element.hasText) {
      indent(text_, depth + 1);
      appendText(text_, element.text);
      text_ += kLineBreak;
    }
    indent(text_, depth);
    text_ += "</";
    text_ += element.name;
    text_ += '>';
  }
  text_ += kLineBreak;
  --openCount_;
}

result_t StreamedXmlPrint::printTo(IIO& io) {
  while (openCount_ > 0) finishLast();
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

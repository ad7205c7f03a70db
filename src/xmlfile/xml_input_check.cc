#include "xmlfile/xml_input_check.h"

#include <string>

#include "xmlfile/utf8.h"

namespace velk::xml {
namespace {

// Row and column of a byte offset, counting line ends as the parser does.
void positionOf(std::string_view text, size_t offset, XmlParseError& error) {
  int row = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < offset; ++i) {
    bool lineEnd = text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'));
    if (lineEnd) {
      ++row;
      lineStart = i + 1;
    }
  }
  error.row = row;
  error.column = static_cast<int>(offset - lineStart) + 1;
}

bool refuse(std::string_view text, size_t offset, const char* description, XmlParseError& error) {
  error.description = description;
  positionOf(text, offset, error);
  return false;
}

// Offset just past `terminator` searched from `from`, or npos.
size_t skipPast(std::string_view text, size_t from, std::string_view terminator) {
  size_t at = text.find(terminator, from);
  return at == std::string_view::npos ? at : at + terminator.size();
}

// Offset of the ">" closing a start tag at `from`, quotes honoured, or npos.
size_t startTagEnd(std::string_view text, size_t from) {
  char quote = 0;
  for (size_t i = from; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

// The attributes of the start tag from `from` to `end`: its "=" signs
// outside quotes.
size_t attributesIn(std::string_view text, size_t from, size_t end) {
  size_t count = 0;
  char quote = 0;
  for (size_t i = from; i < end; ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '=') {
      ++count;
    }
  }
  return count;
}

struct Refusal {
  size_t at = std::string_view::npos;
  const char* reason = nullptr;
};

// Finds the first start tag that opens level kMaxNestingDepth + 1 or has
// more than kMaxAttributes attributes. The scan is exact for well-formed
// text; for other text it only has to be cheap.
Refusal oversizedAt(std::string_view text) {
  static const std::string kTooDeep = "Elements nested deeper than " + std::to_string(kMaxNestingDepth) + " levels";
  static const std::string kTooWide = "Element with more than " + std::to_string(kMaxAttributes) + " attributes";
  int depth = 0;
  size_t i = 0;
  while ((i = text.find('<', i)) != std::string_view::npos) {
    std::string_view rest = text.substr(i);
    size_t next;
    if (rest.starts_with("<!--")) {
      next = skipPast(text, i + 4, "-->");
    } else if (rest.starts_with("<![CDATA[")) {
      next = skipPast(text, i + 9, "]]>");
    } else if (rest.starts_with("<?")) {
      next = skipPast(text, i + 2, "?>");
    } else if (rest.starts_with("<!")) {
      next = skipPast(text, i + 2, ">");
    } else if (rest.starts_with("</")) {
      if (depth > 0) --depth;
      next = skipPast(text, i + 2, ">");
    } else {
      size_t end = startTagEnd(text, i + 1);
      if (end == std::string_view::npos) break;
      if (text[end - 1] != '/' && ++depth > kMaxNestingDepth) return {i, kTooDeep.c_str()};
      if (attributesIn(text, i + 1, end) > kMaxAttributes) return {i, kTooWide.c_str()};
      next = end + 1;
    }
    if (next == std::string_view::npos) break;
    i = next;
  }
  return {};
}

}  // namespace

bool checkXmlInput(std::string_view text, XmlParseError& error) {
  size_t valid = validUtf8Length(text);
  if (valid < text.size()) return refuse(text, valid, "Invalid UTF-8 sequence", error);
  size_t zero = text.find('\0');
  if (zero != std::string_view::npos) return refuse(text, zero, "Invalid zero character", error);
  Refusal oversized = oversizedAt(text);
  if (oversized.reason) return refuse(text, oversized.at, oversized.reason, error);
  return true;
}

}  // namespace velk::xml

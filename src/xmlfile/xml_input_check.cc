#include "xmlfile/xml_input_check.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

// As refuse, naming the column too: the row alone does not find one "&"
// among many.
bool refuseAtColumn(std::string_view text, size_t offset, const std::string& description, XmlParseError& error) {
  refuse(text, offset, description.c_str(), error);
  error.description += " at column " + std::to_string(error.column);
  return false;
}

// Offset just past `terminator` searched from `from`, or npos.
size_t skipPast(std::string_view text, size_t from, std::string_view terminator) {
  size_t at = text.find(terminator, from);
  return at == std::string_view::npos ? at : at + terminator.size();
}

// Offset of the ">" closing a start tag at `from`, quotes honoured, or
// npos; `attributes` counts its "=" signs outside quotes.
size_t startTagEnd(std::string_view text, size_t from, size_t& attributes) {
  char quote = 0;
  for (size_t i = from; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '=') {
      ++attributes;
    } else if (c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
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
      next = skipPast(text, i + 2, ">");
    } else if (rest.starts_with("<!")) {
      next = skipPast(text, i + 2, ">");
    } else if (rest.starts_with("</")) {
      if (depth > 0) --depth;
      next = skipPast(text, i + 2, ">");
    } else {
      size_t attributes = 0;
      size_t end = startTagEnd(text, i + 1, attributes);
      if (end == std::string_view::npos) break;
      if (text[end - 1] != '/' && ++depth > kMaxNestingDepth) return {i, kTooDeep.c_str()};
      if (attributes > kMaxAttributes) return {i, kTooWide.c_str()};
      next = end + 1;
    }
    if (next == std::string_view::npos) break;
    i = next;
  }
  return {};
}

// A character XML 1.0 allows in a document, written or referred to.
bool allowedCharacter(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// A position at or before the first byte from `at` that is no printable
// ASCII (a control character, line ends included, or a byte of a multibyte
// character): the printable runs, most of any text, are skipped eight
// bytes at a time.
size_t printableRunEnd(std::string_view text, size_t at) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighBits = 0x80 * kOnes;
  uint64_t word;
  for (; text.size() - at >= sizeof word; at += sizeof word) {
    std::memcpy(&word, text.data() + at, sizeof word);
    // Taking 0x20 off each byte sets the high bit of a byte below 0x20.
    if ((word | ((word - 0x20 * kOnes) & ~word)) & kHighBits) break;
  }
  return at;
}

// Offset of the first character XML forbids in UTF-8 text, or npos: the
// control characters but tab and line ends, and U+FFFE and U+FFFF. The
// parser would take them, and the printer would write them as references
// that no reader takes back.
size_t forbiddenCharacterAt(std::string_view text) {
  for (size_t i = printableRunEnd(text, 0); i < text.size(); i = printableRunEnd(text, i + 1)) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD) return i;
    bool nonCharacter = c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                        (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE;
    if (nonCharacter) return i;
  }
  return std::string_view::npos;
}

// "Character XML does not allow: U+XXXX" for the one at `at`.
std::string forbiddenText(std::string_view text, size_t at) {
  auto c = static_cast<unsigned char>(text[at]);
  uint32_t code = c == 0xEF ? 0xFFFE | (static_cast<unsigned char>(text[at + 2]) & 1) : c;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", code);
  return std::string("Character XML does not allow: U+") + hex;
}

// The references the parser knows by name.
constexpr std::string_view kNamedReferences[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};

// The code point of the character reference at `at` ("&#" digits ";" or
// "&#x" hex digits ";") and its length; false when it is none.
bool characterReference(std::string_view text, size_t at, uint32_t& code, size_t& length) {
  size_t i = at + 2;
  int base = 10;
  if (i < text.size() && text[i] == 'x') {
    base = 16;
    ++i;
  }
  size_t digits = i;
  uint64_t value = 0;
  for (; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (base == 10 && !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    int digit = std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0' : (text[i] | 0x20) - 'a' + 10;
    value = std::min<uint64_t>(value * base + digit, 0x110000);
  }
  if (i == digits || i >= text.size() || text[i] != ';') return false;
  code = static_cast<uint32_t>(value);
  length = i + 1 - at;
  return true;
}

// Checks the "&" at `at`; gives the length of its reference, or 0 with the
// reason in `refusal`.
size_t referenceAt(std::string_view text, size_t at, std::string& refusal) {
  std::string_view rest = text.substr(at);
  for (std::string_view named : kNamedReferences) {
    if (rest.starts_with(named)) return named.size();
  }
  if (rest.starts_with("&#")) {
    uint32_t code = 0;
    size_t length = 0;
    if (!characterReference(text, at, code, length)) {
      refusal = "Malformed character reference";
    } else if (!allowedCharacter(code)) {
      refusal = "Reference to a character XML does not allow: " + std::string(rest.substr(0, length));
    } else {
      return length;
    }
    return 0;
  }
  refusal = "Bare & that starts no reference";
  return 0;
}

// Offset just past the start tag opening at `from` (its "<"), or npos; an
// "&" in a quoted attribute value is checked as in text. An unquoted value
// is taken as written, "&" included, and so is not checked.
size_t pastStartTag(std::string_view text, size_t from, size_t& refusedAt, std::string& refusal) {
  char quote = 0;
  for (size_t i = from + 1; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) {
        quote = 0;
      } else if (c == '&') {
        size_t length = referenceAt(text, i, refusal);
        if (length == 0) {
          refusedAt = i;
          return std::string_view::npos;
        }
        i += length - 1;
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// The parser takes an element for any "<" followed by a letter, "_" or a
// byte of a multibyte character; other markup it drops unread.
bool startsName(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || std::isalpha(byte) || c == '_';
}

// Finds what the parser would take silently while changing the data: an
// "&" that starts no reference (dropped), a reference to a character XML
// does not allow (written as bytes that are no text), a document type
// declaration (whose entities the parser does not know), other markup that
// is no element, comment, section or instruction (dropped), and text or a
// second element beside the root element (dropped).
class FaithfulnessScan {
 public:
  explicit FaithfulnessScan(std::string_view text) : text_(text) {}

  Refusal run() {
    size_t i = text_.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    nextMarkup_ = text_.find('<', i);
    nextReference_ = text_.find('&', i);
    while (i != std::string_view::npos && i < text_.size()) {
      i = depth_ == 0 ? nextMarkupOutsideRoot(i) : nextMarkupOrReference(i);
      if (refusal_.reason || i == std::string_view::npos) break;
      i = text_[i] == '&' ? pastReference(i) : pastMarkup(i);
    }
    return refusal_;
  }

 private:
  size_t refuse(size_t at, std::string reason) {
    reason_ = std::move(reason);
    refusal_ = {at, reason_.c_str()};
    return std::string_view::npos;
  }

  // The first "<" or "&" from `from`: each is searched for on its own, and
  // found again only once passed, rather than each byte tested for both.
  size_t nextMarkupOrReference(size_t from) {
    if (nextMarkup_ < from) nextMarkup_ = text_.find('<', from);
    if (nextReference_ < from) nextReference_ = text_.find('&', from);
    return std::min(nextMarkup_, nextReference_);
  }

  // Text before the root element the parser refuses itself; after it, the
  // text would be dropped.
  size_t nextMarkupOutsideRoot(size_t from) {
    size_t markup = text_.find('<', from);
    if (!rootSeen_) return markup;
    size_t text = text_.find_first_not_of(" \t\r\n", from);
    if (text < markup) return refuse(text, "Text after the root element");
    return markup;
  }

  size_t pastReference(size_t at) {
    std::string reason;
    size_t length = referenceAt(text_, at, reason);
    return length ? at + length : refuse(at, std::move(reason));
  }

  size_t pastMarkup(size_t at) {
    std::string_view rest = text_.substr(at);
    if (rest.starts_with("<!--")) return skipPast(text_, at + 4, "-->");
    if (rest.starts_with("<![CDATA[")) return skipPast(text_, at + 9, "]]>");
    // The parser ends a declaration or an instruction at its first ">",
    // "?>" or not: what follows is read, and so checked.
    if (rest.starts_with("<?")) return skipPast(text_, at + 2, ">");
    if (rest.starts_with("<!DOCTYPE")) return refuse(at, "Document type declaration (DTD) is not supported");
    if (rest.starts_with("</")) {
      if (depth_ > 0) --depth_;
      return skipPast(text_, at + 2, ">");
    }
    if (rest.size() < 2 || !startsName(rest[1])) return refuse(at, "Markup that is no element");
    return pastElementStart(at);
  }

  size_t pastElementStart(size_t at) {
    if (depth_ == 0 && rootSeen_) return refuse(at, "Second root element");
    rootSeen_ = true;
    size_t refusedAt = std::string_view::npos;
    std::string reason;
    size_t next = pastStartTag(text_, at, refusedAt, reason);
    if (refusedAt != std::string_view::npos) return refuse(refusedAt, std::move(reason));
    if (next != std::string_view::npos && text_[next - 2] != '/') ++depth_;
    return next;
  }

  std::string_view text_;
  size_t nextMarkup_ = 0;
  size_t nextReference_ = 0;
  int depth_ = 0;
  bool rootSeen_ = false;
  std::string reason_;
  Refusal refusal_;
};

}  // namespace

bool isXmlText(std::string_view text) {
  return validUtf8Length(text) == text.size() && text.find('\0') == std::string_view::npos &&
         forbiddenCharacterAt(text) == std::string_view::npos;
}

bool checkXmlInput(std::string_view text, XmlParseError& error) {
  size_t valid = validUtf8Length(text);
  if (valid < text.size()) return refuse(text, valid, "Invalid UTF-8 sequence", error);
  size_t zero = text.find('\0');
  if (zero != std::string_view::npos) return refuse(text, zero, "Invalid zero character", error);
  size_t forbidden = forbiddenCharacterAt(text);
  if (forbidden != std::string_view::npos)
    return refuseAtColumn(text, forbidden, forbiddenText(text, forbidden), error);
  Refusal oversized = oversizedAt(text);
  if (oversized.reason) return refuse(text, oversized.at, oversized.reason, error);
  FaithfulnessScan scan(text);
  Refusal unfaithful = scan.run();
  if (unfaithful.reason) return refuseAtColumn(text, unfaithful.at, unfaithful.reason, error);
  return true;
}

}  // namespace velk::xml

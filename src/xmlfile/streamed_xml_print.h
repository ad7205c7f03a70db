// The printed text of a StreamedXmlStorage document and its open elements.
//
// The start tag of an element with children is known only when the element
// is finished (its values may come after its children), so the text goes
// into one buffer and each such start tag is kept apart with the offset it
// belongs at; writing the print joins them. Offsets grow with the order the
// elements open in, so the join is one pass.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <tinyxml.h>

#include "velk/result.h"
#include "xmlfile/io.h"

namespace velk {

class StreamedXmlPrint {
 public:
  explicit StreamedXmlPrint(Ref<IIO> destination) : destination_(std::move(destination)) {}

  // Opens an element one level below the element at `depth` (the root at
  // depth 0 when nothing is open), finishing what is open deeper than the
  // parent; gives the new element's serial. False when the parent holds text.
  bool open(size_t parentDepth, std::string_view name, uint64_t& serial);
  uint64_t openRoot(std::string_view name) { return push(name); }
  bool isOpen(size_t depth, uint64_t serial) const { return depth < openCount_ && open_[depth].serial == serial; }

  void setAttribute(size_t depth, std::string_view name, std::string_view value);
  void removeAttribute(size_t depth, const std::string& name);
  void setText(size_t depth, std::string_view text);
  void removeText(size_t depth) { open_[depth].hasText = false; }

  // Finishes every element and writes the print into `io` in place of its
  // bytes.
  result_t printTo(IIO& io);
  IIO* destination() const { return destination_.get(); }

 private:
  static constexpr size_t kNoStartTag = ~size_t(0);

  // The slots of finished elements are used again, strings and all: an
  // element costs no allocation once the levels are there.
  struct Element {
    uint64_t serial = 0;
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;  // the first attributeCount are set
    size_t attributeCount = 0;
    std::string text;
    bool hasText = false;
    // Index into startTags_ once the element has a child.
    size_t startTag = kNoStartTag;
  };
  struct StartTag {
    size_t offset;
    std::string text;
  };

  uint64_t push(std::string_view name);
  void finishDeeperThan(size_t depth);
  void finishLast();
  void indent(std::string& out, size_t depth) const;
  void appendStartTag(std::string& out, const Element& element);
  void appendText(std::string& out, const std::string& text);

  Ref<IIO> destination_;
  std::vector<Element> open_;
  size_t openCount_ = 0;
  std::string text_;
  std::vector<StartTag> startTags_;
  uint64_t serials_ = 0;
  // Reused for printing attributes the way the parser's own printer does.
  TiXmlAttribute attribute_;
  std::string encoded_;
};

}  // namespace velk

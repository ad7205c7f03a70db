// One parsed or new XML document shared by all storage nodes over it. It
// lives as long as any node does and, when it was changed after its last
// flush, writes itself back to its destination when the last node goes.
#pragma once

#include <memory>
#include <string>

#include <tinyxml.h>

#include "xmlfile/io.h"

namespace velk {

class XmlStorage;

// Storage option: own values with markup characters go into CDATA sections.
constexpr uint32_t kXmlCdataOption = 1;
// Storage option of a parse: the document is only read. It keeps no
// destination, so the input/output object (a file and its descriptor) is
// let go as soon as its text is read.
constexpr uint32_t kXmlReadOnlyOption = 2;

class XmlDocument {
 public:
  // Where a flush writes to: an input/output object, a file path, or
  // nowhere (both empty).
  struct Destination {
    Ref<IIO> io;
    std::string path;
  };

  XmlDocument(std::unique_ptr<TiXmlDocument> document, uint32_t options, Destination destination);
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  TiXmlElement* root() { return document_->RootElement(); }
  bool cdataOption() const { return options_ & kXmlCdataOption; }

  void markChanged() {
    changed_ = true;
    ++generation_;
  }
  // Changes with every change of the document; cached positions compare it.
  uint64_t generation() const { return generation_; }

  // Prints the document and writes it to the destination (kUnspecified when
  // there is none).
  result_t flush();
  // The printed form: four blanks per level, CR LF line ends.
  std::string print() const;

  // The live nodes form a list threaded through the nodes themselves: a node
  // is made and dropped for almost every element visited, and linking costs
  // no allocation.
  void addNode(XmlStorage* node);
  void removeNode(XmlStorage* node);
  // Called before `element` is deleted: nodes over it or inside it are
  // detached so that they never touch freed memory.
  void detachNodesWithin(const TiXmlElement* element);

 private:
  result_t writeTo(IIO& io, const std::string& text);

  std::unique_ptr<TiXmlDocument> document_;
  uint32_t options_;
  Destination destination_;
  bool changed_ = false;
  uint64_t generation_ = 0;
  XmlStorage* firstNode_ = nullptr;
};

}  // namespace velk

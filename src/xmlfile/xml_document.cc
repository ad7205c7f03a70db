#include "xmlfile/xml_document.h"

#include <limits>

#include "xmlfile/file_io.h"
#include "xmlfile/xml_storage.h"

namespace velk {

XmlDocument::XmlDocument(std::unique_ptr<TiXmlDocument> document, uint32_t options, Destination destination)
    : document_(std::move(document)), options_(options), destination_(std::move(destination)) {}

XmlDocument::~XmlDocument() {
  if (!changed_) return;
  // Nobody is left to hear of a failure here.
  try {
    flush();
  } catch (...) {
  }
}

std::string XmlDocument::print() const {
  TiXmlPrinter printer;
  printer.SetIndent("    ");
  printer.SetLineBreak("\r\n");
  document_->Accept(&printer);
  return printer.Str();
}

result_t XmlDocument::flush() {
  if (!destination_.io && destination_.path.empty()) return errors::kUnspecified;
  std::string text = print();
  Ref<IIO> io = destination_.io;
  if (!io) {
    // The old content stays until the new text is known to fit (writeTo).
    result_t r = FileIo::open(destination_.path, FileIo::Mode::kReadWrite, io);
    if (failed(r)) return r;
  }
  result_t r = writeTo(*io, text);
  if (succeeded(r)) changed_ = false;
  return r;
}

result_t XmlDocument::writeTo(IIO& io, const std::string& text) {
  if (text.size() > std::numeric_limits<uint32_t>::max()) return errors::kInvalidSize;
  auto size = static_cast<uint32_t>(text.size());
  // The room for the new text is taken before the old text is overwritten:
  // a full disk then fails the flush and leaves the old document whole.
  uint64_t oldSize = 0;
  result_t r = io.GetSize(&oldSize);
  if (succeeded(r) && size > oldSize) r = io.SetSize(size);
  if (succeeded(r)) r = io.Seek(0);
  uint32_t written = 0;
  if (succeeded(r)) r = io.Write(text.data(), size, &written);
  if (succeeded(r) && written != size) r = errors::kUnspecified;
  if (succeeded(r)) r = io.SetSize(size);
  if (succeeded(r)) r = io.Flush();
  return failed(r) ? r : errors::kOk;
}

void XmlDocument::addNode(XmlStorage* node) {
  node->nextNode_ = firstNode_;
  node->previousNode_ = nullptr;
  if (firstNode_) firstNode_->previousNode_ = node;
  firstNode_ = node;
}

void XmlDocument::removeNode(XmlStorage* node) {
  if (node->previousNode_) {
    node->previousNode_->nextNode_ = node->nextNode_;
  } else {
    firstNode_ = node->nextNode_;
  }
  if (node->nextNode_) node->nextNode_->previousNode_ = node->previousNode_;
  node->nextNode_ = node->previousNode_ = nullptr;
}

void XmlDocument::detachNodesWithin(const TiXmlElement* element) {
  for (XmlStorage* node = firstNode_; node; node = node->nextNode_) {
    for (const TiXmlNode* at = node->element(); at; at = at->Parent()) {
      if (at == element) {
        node->detach();
        break;
      }
    }
  }
}

}  // namespace velk

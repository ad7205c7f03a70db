#include "tree_text.h"

#include <vector>

#include "velk/exception.h"
#include "xmlfile/storage_helpers.h"

namespace hesk_fuzz {

namespace {

constexpr velk::SourcePos kTreeTextPos{"fuzz/tree_text", 1};

void appendPiece(std::string& out, char kind, const std::string& piece) {
  out += kind;
  out += std::to_string(piece.size());
  out += ':';
  out += piece;
}

void appendValues(std::string& out, velk::IStorage* node) {
  uint32_t count = velk::helpers::valuesCount(node);
  for (uint32_t i = 0; i < count; ++i) {
    std::string name = velk::helpers::valueName(node, i);
    std::string value;
    velk::helpers::readText(node, name, value);
    appendPiece(out, '@', name);
    appendPiece(out, '=', value);
  }
  std::string text;
  velk::helpers::readText(node, std::string_view(), text);
  if (!text.empty()) appendPiece(out, '#', text);
}

struct Frame {
  velk::Ref<velk::IStorage> node;
  uint32_t next = 0;
  uint32_t count = 0;
};

Frame enter(std::string& out, velk::Ref<velk::IStorage> node) {
  appendPiece(out, '<', velk::helpers::nodeName(node.get()));
  appendValues(out, node.get());
  Frame frame{std::move(node)};
  velk::checkResult(frame.node->GetNodesCount(&frame.count), kTreeTextPos);
  return frame;
}

}  // namespace

// Iterative, as nesting is only bounded by the input check.
std::string treeText(velk::IStorage* node) {
  std::string out;
  std::vector<Frame> frames;
  frames.push_back(enter(out, velk::Ref<velk::IStorage>(node)));
  while (!frames.empty()) {
    Frame& top = frames.back();
    if (top.next == top.count) {
      out += '>';
      frames.pop_back();
      continue;
    }
    velk::Ref<velk::IStorage> child;
    velk::checkResult(top.node->GetNode(top.next++, child.put()), kTreeTextPos);
    frames.push_back(enter(out, std::move(child)));
  }
  return out;
}

}  // namespace hesk_fuzz

#include "writers/db/reopened_key.h"

#include <optional>

#include "writers/db/node_writing.h"
#include "xmlfile/document_reread.h"
#include "xmlfile/node_names.h"
#include "xmlfile/utf8.h"
#include "xmlfile/xml_input_check.h"

namespace app_core {

using velk::result_t;

namespace {

bool isUtf8(const std::string& text) { return velk::xml::validUtf8Length(text) == text.size(); }

}  // namespace

result_t ReopenedKey::open(velk::Ref<velk::IStorage>& root) {
  root.reset();
  result_t r = !stored_.isOpen() || rereadNext_ ? read() : settle();
  if (velk::succeeded(r)) root = velk::Ref<velk::IStorage>(stored_.root());
  return r;
}

result_t ReopenedKey::close() {
  forgetSteps();
  rereadNext_ = false;
  return stored_.close();
}

// Stores what is open, then reads the record: the literal way.
result_t ReopenedKey::read() {
  forgetSteps();
  result_t r = stored_.close();
  if (velk::succeeded(r)) r = stored_.open(context_, key_);
  if (velk::failed(r)) return r;
  data_storage::Bytes document;
  int64_t id = 0;
  r = context_.database->FindByKey(key_, document, id);
  if (velk::failed(r)) return r;
  std::string_view text(reinterpret_cast<const char*>(document.data()), document.size());
  rereadNext_ = !rereadKeepsDocument(text);
  return velk::errors::kOk;
}

result_t ReopenedKey::settle() {
  for (TextChange& change : pending_) {
    auto value =
        change.text.empty() ? velk::ValueDescriptor::empty() : velk::ValueDescriptor::ofText(std::move(change.text));
    result_t r = change.node->WriteValue("", value, 0);
    if (velk::failed(r)) return r;
  }
  pending_.clear();
  keepFinishedAsPrinted();
  return velk::errors::kOk;
}

// After the changes a read would make: the text kept is the one a store
// would print.
void ReopenedKey::keepFinishedAsPrinted() {
  for (const velk::Ref<velk::IStorage>& subtree : finished_) keepAsPrinted(subtree.get());
  finished_.clear();
}

// The nodes held for the next opening go before the tree is stored or read.
void ReopenedKey::forgetSteps() {
  pending_.clear();
  finished_.clear();
}

void ReopenedKey::needReread() {
  rereadNext_ = true;
  forgetSteps();
}

void ReopenedKey::finished(velk::IStorage* subtree) {
  if (!rereadNext_) finished_.push_back(velk::Ref<velk::IStorage>(subtree));
}

result_t ReopenedKey::added(velk::IStorage* subtree, uint32_t depth) {
  return rereadNext_ ? velk::errors::kOk : inspect(subtree, depth);
}

result_t ReopenedKey::inspect(velk::IStorage* node, uint32_t depth) {
  // Deep documents are refused when read; let the real read refuse it.
  if (depth > static_cast<uint32_t>(velk::xml::kMaxNestingDepth)) {
    needReread();
    return velk::errors::kOk;
  }
  std::string name;
  uint32_t count = 0;
  result_t r = readNodeName(node, name);
  if (velk::succeeded(r) && !isUtf8(name)) needReread();
  if (velk::succeeded(r)) r = inspectValues(node);
  if (velk::succeeded(r)) r = inspectText(node);
  if (velk::succeeded(r)) r = node->GetNodesCount(&count);
  for (uint32_t i = 0; i < count && velk::succeeded(r) && !rereadNext_; ++i) {
    velk::Ref<velk::IStorage> child;
    r = node->GetNode(i, child.put());
    if (velk::succeeded(r)) r = inspect(child.get(), depth + 1);
  }
  return r;
}

result_t ReopenedKey::inspectValues(velk::IStorage* node) {
  uint32_t count = 0;
  result_t r = node->GetValuesCount(&count);
  for (uint32_t i = 0; i < count && velk::succeeded(r) && !rereadNext_; ++i) {
    std::string name;
    std::string value;
    r = readValueName(node, i, name);
    if (velk::succeeded(r)) r = readTextAt(node, i, value);
    if (velk::succeeded(r) && !(isUtf8(name) && rereadKeepsAttribute(value))) needReread();
  }
  return r;
}

result_t ReopenedKey::inspectText(velk::IStorage* node) {
  std::string text;
  result_t r = readOwnText(node, text);
  if (velk::failed(r) || rereadNext_) return r;
  if (text.empty()) {
    // An empty text reads like none, and a read would drop it.
    pending_.push_back({velk::Ref<velk::IStorage>(node), {}});
    return r;
  }
  std::optional<std::string> kept = rereadText(text);
  if (!kept) {
    needReread();
  } else if (*kept != text) {
    pending_.push_back({velk::Ref<velk::IStorage>(node), std::move(*kept)});
  }
  return r;
}

}  // namespace app_core

#include "preprocessor/storage_copy.h"

#include <vector>

#include "velk/exception.h"
#include "xmlfile/storage_helpers.h"
#include "xmlfile/xml_file_storage.h"

namespace app_core::helpers {

using velk::helpers::nodeName;
using velk::helpers::readText;
using velk::helpers::valueName;
using velk::helpers::valuesCount;

namespace {

constexpr velk::SourcePos kCopyPos{"tools/hesk_config/source/pack", 84};

void copyValues(velk::IStorage* source, velk::IStorage* destination) {
  uint32_t count = valuesCount(source);
  for (uint32_t i = 0; i < count; ++i) {
    std::string name = valueName(source, i);
    velk::ValueDescriptor value;
    velk::checkResult(source->ReadValue(i, value, 0), kCopyPos);
    velk::checkResult(destination->WriteValue(name, value, 0), kCopyPos);
  }
  velk::ValueDescriptor text;
  text.type = velk::kTypeText;
  velk::checkResult(source->ReadValue(std::string_view(), text, 0), kCopyPos);
  if (!text.text.empty()) velk::checkResult(destination->WriteValue(std::string_view(), text, 0), kCopyPos);
}

// One node being copied; its children are copied before its values.
struct Frame {
  velk::Ref<velk::IStorage> source;
  velk::Ref<velk::IStorage> destination;
  uint32_t next = 0;
  uint32_t count = 0;
  // The source as a located storage, told of each child copied: a view
  // then lets go of what it made for the child.
  velk::Ref<IXmlFileStorage> located;
};

Frame frameFor(velk::Ref<velk::IStorage> source, velk::Ref<velk::IStorage> destination) {
  Frame frame{std::move(source), std::move(destination), 0, 0, nullptr};
  velk::checkResult(frame.source->GetNodesCount(&frame.count), kCopyPos);
  if (frame.count) frame.located = velk::queryInterface<IXmlFileStorage>(frame.source.get());
  return frame;
}

}  // namespace

// Iterative, so that deeply nested sources cannot exhaust the call stack.
void copyStorage(velk::IStorage* source, velk::IStorage* destination) {
  std::vector<Frame> frames;
  frames.push_back(frameFor(velk::Ref<velk::IStorage>(source), velk::Ref<velk::IStorage>(destination)));
  while (!frames.empty()) {
    Frame& top = frames.back();
    if (top.next == top.count) {
      copyValues(top.source.get(), top.destination.get());
      frames.pop_back();
      if (!frames.empty() && frames.back().located) frames.back().located->ForgetNode(frames.back().next - 1);
      continue;
    }
    velk::Ref<velk::IStorage> child;
    velk::checkResult(top.source->GetNode(top.next++, child.put()), kCopyPos);
    velk::Ref<velk::IStorage> copy;
    velk::checkResult(top.destination->CreateNode(nodeName(child.get()), copy.put()), kCopyPos);
    frames.push_back(frameFor(std::move(child), std::move(copy)));
  }
}

}  // namespace app_core::helpers

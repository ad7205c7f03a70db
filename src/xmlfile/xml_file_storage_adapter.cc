#include "xmlfile/xml_file_storage_adapter.h"

namespace app_core::helpers {

using velk::result_t;

uint32_t lineOf(velk::IStorage* node) {
  auto position = velk::queryInterface<velk::IStoragePosition>(node);
  int row = 0;
  int column = 0;
  if (!position || velk::failed(position->GetPosition(&row, &column)) || row <= 0) return kNoLine;
  return static_cast<uint32_t>(row);
}

XmlFileStorageAdapter::XmlFileStorageAdapter(velk::Ref<velk::IStorage> node, velk::Ref<IFileLocation> location)
    : node_(std::move(node)), file_(location), location_(std::move(location)) {}

XmlFileStorageAdapter::XmlFileStorageAdapter(velk::Ref<velk::IStorage> node, ChildOf child)
    : node_(std::move(node)), file_(std::move(child.file)), line_(child.line) {}

IFileLocation* XmlFileStorageAdapter::GetLocation() {
  if (!location_ && file_) location_ = velk::make<LineInFile>(file_, line_);
  return location_.get();
}

result_t XmlFileStorageAdapter::CreateIncludedStorage(IXmlFileStorage** out, const std::string& path,
                                                      velk::IStorage* documentRoot) {
  if (!out || !documentRoot) return velk::errors::kInvalidArgument;
  auto location = velk::make<FileLocation>(GetLocation(), path, lineOf(documentRoot));
  *out = velk::make<XmlFileStorageAdapter>(velk::Ref<velk::IStorage>(documentRoot), location).detach();
  return velk::errors::kOk;
}

result_t XmlFileStorageAdapter::wrapChild(result_t found, velk::IStorage* child, IXmlFileStorage** out) {
  auto held = velk::Ref<velk::IStorage>::adopt(child);
  if (velk::failed(found)) return found;
  uint32_t line = lineOf(child);
  *out = velk::make<XmlFileStorageAdapter>(std::move(held), ChildOf{file_, line}).detach();
  return velk::errors::kOk;
}

result_t XmlFileStorageAdapter::GetNode(std::string_view name, IXmlFileStorage** child) {
  if (!child) return velk::errors::kInvalidArgument;
  *child = nullptr;
  velk::IStorage* found = nullptr;
  result_t r = node_->GetNode(name, &found);
  return wrapChild(r, found, child);
}

result_t XmlFileStorageAdapter::GetNode(uint32_t index, IXmlFileStorage** child) {
  if (!child) return velk::errors::kInvalidArgument;
  *child = nullptr;
  velk::IStorage* found = nullptr;
  result_t r = node_->GetNode(index, &found);
  return wrapChild(r, found, child);
}

result_t XmlFileStorageAdapter::CreateNode(std::string_view name, IXmlFileStorage** child) {
  if (!child) return velk::errors::kInvalidArgument;
  *child = nullptr;
  velk::IStorage* created = nullptr;
  result_t r = node_->CreateNode(name, &created);
  return wrapChild(r, created, child);
}

}  // namespace app_core::helpers

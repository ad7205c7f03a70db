#include "quarn_test_support.h"

#include <algorithm>
#include <cstring>

namespace quarntest {

velk::result_t MemoryFile::Read(void* buffer, uint32_t size, uint32_t* count) {
  size_t n = std::min<size_t>(size, content.size() - std::min(position, content.size()));
  std::memcpy(buffer, content.data() + position, n);
  position += n;
  *count = static_cast<uint32_t>(n);
  return velk::errors::kOk;
}

velk::result_t MemoryFile::Write(const void* bytes, uint32_t size, uint32_t* count) {
  if (velk::failed(writeResult)) return writeResult;
  if (content.size() < position + size) content.resize(position + size);
  std::memcpy(content.data() + position, bytes, size);
  position += size;
  *count = size;
  return velk::errors::kOk;
}

velk::result_t MemoryFile::GetPosition(uint64_t* at) {
  *at = position;
  return velk::errors::kOk;
}

velk::result_t MemoryFile::GetSize(uint64_t* size) {
  *size = content.size();
  return velk::errors::kOk;
}

velk::result_t MemoryFile::SetSize(uint64_t size) {
  content.resize(size);
  return velk::errors::kOk;
}

velk::result_t MemoryFile::Seek(uint64_t at) {
  position = at;
  return velk::errors::kOk;
}

velk::Ref<velk::IStorage> newDocument(velk::IIO* file) {
  velk::Ref<velk::IStorage> root;
  velk::XmlStorageFactory factory;
  velk::checkResult(factory.CreateDocument("propertiesmap", file, 0, root.put()), {"test", __LINE__});
  return root;
}

velk::Ref<velk::IStorage> parseDocument(velk::IIO* file) {
  velk::Ref<velk::IStorage> root;
  velk::XmlStorageFactory factory;
  velk::XmlParseError error;
  velk::checkResult(factory.ParseIo(file, 0, root.put(), &error), {"test", __LINE__});
  return root;
}

velk::Ref<velk::IStorage> parseFragment(const std::string& xml) {
  auto file = velk::make<MemoryFile>(xml);
  return parseDocument(file.get());
}

std::string savedText(const MemoryFile& file) {
  std::string text = file.content;
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

velk::Ref<app_core::helpers::IFileLocation> at(const std::string& file, uint32_t line) {
  return velk::make<app_core::helpers::FileLocation>(nullptr, file, line);
}

size_t ModelMaker::component(const std::string& name, uint32_t clsid) {
  app_core::ModelComponent record;
  record.name = name;
  record.clsid = clsid;
  return model.components.add(std::move(record));
}

size_t ModelMaker::taskType(const std::string& name, size_t component, bool monitoring) {
  app_core::ModelTaskType record;
  record.name = name;
  record.component = component;
  record.monitoring = monitoring;
  return model.taskTypes.add(std::move(record));
}

app_core::ModelTask& ModelMaker::task(const std::string& name, size_t taskType) {
  app_core::ModelTask record;
  record.name = name;
  record.taskType = taskType;
  return model.tasks[model.tasks.add(std::move(record))];
}

}  // namespace quarntest

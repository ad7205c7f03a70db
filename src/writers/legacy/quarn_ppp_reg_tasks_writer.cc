#include "writers/legacy/quarn_ppp_reg_tasks_writer.h"

#include <algorithm>

#include "writers/legacy/quarn_profiles_xml_tasks_writer.h"
#include "writers/legacy/quarn_registry_printer.h"

namespace app_core {
namespace {

constexpr size_t kTextReserve = 16384;
constexpr uint32_t kLargestWrite = 1u << 30;

}  // namespace

QuarnPppRegTasksWriter::QuarnPppRegTasksWriter(helpers::StorageErrorReporter* reporter,
                                               velk::IXmlStorageFactory* xmlFactory,
                                               velk::Ref<velk::IIO> file, std::string registryPath)
    : reporter_(reporter),
      xmlFactory_(xmlFactory),
      file_(std::move(file)),
      registryPath_(std::move(registryPath)) {}

QuarnPppRegTasksWriter::~QuarnPppRegTasksWriter() = default;

bool QuarnPppRegTasksWriter::isRegistryFile(std::string_view path) {
  size_t dot = path.find_last_of("./\\");
  return dot != std::string_view::npos && path[dot] == '.' && path.substr(dot + 1) == "reg";
}

velk::result_t QuarnPppRegTasksWriter::write(const ConfigurationModel& model) {
  velk::Ref<velk::IStorage> document;
  velk::result_t r = xmlFactory_->CreateDocument("propertiesmap", nullptr, 0, document.put());
  if (velk::failed(r)) return r;
  r = QuarnProfilesXmlTasksWriter(reporter_.get(), document.get()).write(model);
  if (velk::failed(r)) return r;
  std::string text;
  text.reserve(kTextReserve);
  r = QuarnRegistryPrinter(reporter_.get()).print(document.get(), registryPath_, text);
  if (velk::failed(r)) return r;
  return writeText(text);
}

velk::result_t QuarnPppRegTasksWriter::writeText(const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    uint32_t size = static_cast<uint32_t>(std::min<size_t>(text.size() - done, kLargestWrite));
    uint32_t written = 0;
    velk::result_t r = file_->Write(text.data() + done, size, &written);
    if (velk::failed(r)) return r;
    if (written == 0) return velk::errors::kUnspecified;
    done += written;
  }
  return file_->Flush();
}

}  // namespace app_core

// Writes the tasks and task types for the legacy quarn task manager as
// registry text ("ppp.reg"), appended to the open output file.
#pragma once

#include <string>
#include <string_view>

#include "console/storage_error_reporter.h"
#include "writers/tasks_writer.h"
#include "xmlfile/io.h"
#include "xmlfile/xml_storage_factory.h"

namespace app_core {

class QuarnPppRegTasksWriter : public TasksWriter {
 public:
  // `file` is open for writing and positioned where the text goes (its end);
  // the writer closes it by releasing it. `registryPath` is the path of the
  // property map's top key, written with "\" between its parts.
  QuarnPppRegTasksWriter(helpers::StorageErrorReporter* reporter, velk::IXmlStorageFactory* xmlFactory,
                         velk::Ref<velk::IIO> file, std::string registryPath);
  ~QuarnPppRegTasksWriter() override;

  // The property map is built in memory and printed only when complete, so
  // a failed write adds nothing to the file.
  velk::result_t write(const ConfigurationModel& model) override;

  // Whether a quarn configuration path names a registry file rather than a
  // property-map document: its extension is exactly "reg".
  static bool isRegistryFile(std::string_view path);

 private:
  velk::result_t writeText(const std::string& text);

  velk::Ref<helpers::StorageErrorReporter> reporter_;
  velk::Ref<velk::IXmlStorageFactory> xmlFactory_;
  velk::Ref<velk::IIO> file_;
  std::string registryPath_;
};

}  // namespace app_core

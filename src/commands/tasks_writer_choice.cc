#include "commands/tasks_writer_choice.h"

#include "console/helpers_exceptions.h"
#include "writers/db/velk_tasks_writer.h"
#include "writers/legacy/quarn_ppp_reg_tasks_writer.h"
#include "writers/legacy/quarn_profiles_xml_tasks_writer.h"
#include "xmlfile/open_output_document.h"

namespace app_core {

using velk::Ref;
using velk::result_t;

namespace {

constexpr velk::SourcePos kRegistryDirectoryPos{kCompilerSource, 203};
constexpr velk::SourcePos kRegistryOpenPos{kCompilerSource, 209};
constexpr velk::SourcePos kRegistrySeekPos{kCompilerSource, 214};

// The registry text is appended to what the file already holds.
Ref<velk::OutputFile> openRegistryFile(const std::string& path) {
  createOutputDirectory(path, kRegistryDirectoryPos);
  Ref<velk::OutputFile> file;
  if (velk::failed(loadOutputFile(path, file)))
    throw helpers::NamedObjectError(kRegistryOpenPos, "Can't open output file", path, velk::errors::kUnspecified);
  uint64_t size = 0;
  if (velk::failed(file->GetSize(&size)) || velk::failed(file->Seek(size)))
    throw helpers::NamedObjectError(kRegistrySeekPos, "File IO error", path, velk::errors::kUnspecified);
  return file;
}

}  // namespace

TasksTarget tasksTargetOf(const std::string& quarnConfig) {
  if (quarnConfig.empty()) return TasksTarget::kKeyValueDatabases;
  return QuarnPppRegTasksWriter::isRegistryFile(quarnConfig) ? TasksTarget::kPppReg : TasksTarget::kProfilesXml;
}

std::unique_ptr<TasksWriter> makeTasksWriter(const TasksWriterInputs& inputs, QuarnOutput& output) {
  switch (tasksTargetOf(inputs.quarnConfig)) {
    case TasksTarget::kKeyValueDatabases:
      return std::make_unique<VelkTasksWriter>(inputs.settings, inputs.storage, inputs.context.adapterFactory.get(),
                                               inputs.scheduleSerializer);
    case TasksTarget::kProfilesXml: {
      OutputDocument document =
          openOutputDocument(inputs.context.xmlFactory.get(), inputs.quarnConfig, "propertiesmap");
      output = {document.root, document.file};
      return std::make_unique<QuarnProfilesXmlTasksWriter>(inputs.context.reporter, document.root.get());
    }
    case TasksTarget::kPppReg:
      output = {{}, openRegistryFile(inputs.quarnConfig)};
      return std::make_unique<QuarnPppRegTasksWriter>(inputs.context.reporter, inputs.context.xmlFactory.get(),
                                                      Ref<velk::IIO>(output.file.get()), inputs.quarnRegistryPath);
  }
  throw velk::CheckFailedException({kCompilerSource, 220}, "unknown task writer");
}

}  // namespace app_core

// Which task writer a compile uses: the key-value databases, or one of the
// legacy quarn files named by --quarn-config.
#pragma once

#include <memory>
#include <string>

#include "commands/compile_pipeline.h"
#include "schedule/struct_serializer.h"
#include "writers/db/storage_context.h"
#include "writers/tasks_writer.h"
#include "xmlfile/output_file.h"

namespace app_core {

enum class TasksTarget {
  kKeyValueDatabases,  // no quarn configuration given
  kProfilesXml,        // any file whose extension is not exactly "reg"
  kPppReg,
};

TasksTarget tasksTargetOf(const std::string& quarnConfig);

struct TasksWriterInputs {
  const CompileContext& context;
  const StorageContext& settings;
  const StorageContext& storage;
  velk::IStructSerializer* scheduleSerializer;
  const std::string& quarnConfig;
  const std::string& quarnRegistryPath;
};

// The quarn file a compile writes: the profiles.xml document (none for
// ppp.reg) and the file that receives it, both empty without quarn output.
struct QuarnOutput {
  velk::Ref<velk::IStorage> document;
  velk::Ref<velk::OutputFile> file;
};

// Opens the quarn output when one is asked for, into `output`; opening
// failures throw. The writer writes into memory; the caller saves `output`.
std::unique_ptr<TasksWriter> makeTasksWriter(const TasksWriterInputs& inputs, QuarnOutput& output);

}  // namespace app_core

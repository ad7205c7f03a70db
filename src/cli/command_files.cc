#include "cli/command_files.h"

#include "cli/command_line_exception.h"
#include "platform/same_file.h"

namespace app_core {
namespace {

void add(std::vector<NamedPath>& paths, const char* option, const std::string& path) {
  if (!path.empty()) paths.push_back({option, path});
}

std::string describe(const char* role, const NamedPath& file) {
  return std::string(role) + " \"" + file.path + "\" (" + file.option + ")";
}

}  // namespace

std::vector<NamedPath> outputsOf(const CommandParameters& p) {
  std::vector<NamedPath> outputs;
  switch (p.command) {
    case Command::kCompile:
      add(outputs, "--settings", p.settingsDatabasePath);
      add(outputs, "--storage", p.storageDatabasePath);
      add(outputs, "--vsm", p.vsmOutput);
      add(outputs, "--quarn-config", p.quarnConfig);
      break;
    case Command::kImport: add(outputs, "--db", p.databasePath); break;
    case Command::kExport: add(outputs, "--xml", p.singlePath); break;
    case Command::kPack:
    case Command::kPreprocess: add(outputs, "--out", p.singlePath); break;
    default: break;
  }
  return outputs;
}

std::vector<NamedPath> inputsOf(const CommandParameters& p) {
  std::vector<NamedPath> inputs;
  switch (p.command) {
    case Command::kCompile:
    case Command::kPack:
    case Command::kPreprocess:
      for (const std::string& path : p.xmlInputs) add(inputs, "--xml", path);
      break;
    case Command::kImport: add(inputs, "--xml", p.singlePath); break;
    case Command::kExport: add(inputs, "--db", p.databasePath); break;
    default: break;
  }
  return inputs;
}

namespace command_line_options {

void checkOutputsApart(const CommandParameters& parameters) {
  std::vector<NamedPath> outputs = outputsOf(parameters);
  add(outputs, "--trace", parameters.traceFilePath);
  std::vector<NamedPath> inputs = inputsOf(parameters);
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (const NamedPath& input : inputs) {
      if (velk::sameFile(outputs[i].path, input.path))
        throw CommandLineException(describe("The output", outputs[i]) + " is the same file as " +
                                   describe("the input", input));
    }
    for (size_t j = 0; j < i; ++j) {
      if (velk::sameFile(outputs[i].path, outputs[j].path))
        throw CommandLineException(describe("The output", outputs[i]) + " is the same file as " +
                                   describe("the output", outputs[j]));
    }
  }
}

}  // namespace command_line_options
}  // namespace app_core

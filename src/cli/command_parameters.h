// The parsed command line: one record per process, filled by the parse and
// read by the run phase and the command bodies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "preprocessor/definition.h"

namespace app_core {

enum class Command { kNone, kHelp, kCompile, kImport, kExport, kPack, kPreprocess };

struct CommandParameters {
  uint32_t traceLevel = 1000;
  std::string tracePrefixFormat = "%X %I %p ";
  std::string traceFilePath;
  int32_t messageLevel = 2;
  Command command = Command::kNone;
  std::string databasePath;
  std::string storageDatabasePath;
  std::string settingsDatabasePath;
  std::vector<std::string> xmlInputs;
  std::string product;
  // The option texts as given; turned into `definitions` after the checks.
  std::vector<std::string> definitionTexts;
  Definitions definitions;
  std::string targetCategory;
  // The single XML path of import and export, the output of pack and preprocess.
  std::string singlePath;
  std::string vsmOutput;
  std::string quarnConfig;
  std::string quarnRegistryPath;
};

}  // namespace app_core

#pragma once

#include <string>
#include <vector>

#include "console/command_environment.h"
#include "preprocessor/definition.h"

namespace app_core {

struct CompileArguments {
  std::string product;
  Definitions definitions;
  std::string targetCategory;
  std::vector<std::string> inputs;
  std::string settingsDatabase;
  std::string storageDatabase;
  std::string vsmOutput;
  std::string quarnConfig;        // absolute when given, else empty
  std::string quarnRegistryPath;  // the part behind the first "|"
};

// Runs one compile; 0, or 0x8000004B when errors were counted.
velk::result_t compile(const CommandEnvironment& env, const CompileArguments& args);

}  // namespace app_core

#include "cli/command_runner.h"

#include <optional>

#include "cli/current_directory.h"
#include "cli/run_context.h"
#include "cli/run_lock.h"
#include "commands/compile_pipeline.h"
#include "commands/exchange_commands.h"
#include "commands/pack_command.h"
#include "platform/path_rules.h"

namespace app_core {
namespace {

constexpr velk::SourcePos kExchangeCheck{"tools/hesk_config/source/hesk_config", 214};

CompileArguments compileArguments(const CommandParameters& p) {
  CompileArguments args;
  args.product = p.product;
  args.definitions = p.definitions;
  args.targetCategory = p.targetCategory;
  args.inputs = p.xmlInputs;
  args.settingsDatabase = p.settingsDatabasePath;
  args.storageDatabase = p.storageDatabasePath;
  args.vsmOutput = p.vsmOutput;
  args.quarnConfig = p.quarnConfig;
  args.quarnRegistryPath = p.quarnRegistryPath;
  return args;
}

// Import and export return kUnspecified for a run that reported its
// errors, which is the command's failure status as for compile; any other
// failure result is raised.
velk::result_t exchangeStatus(velk::result_t r) {
  if (r != velk::errors::kUnspecified) velk::checkResult(r, kExchangeCheck);
  return r;
}

bool runsBody(Command command) {
  return command == Command::kCompile || command == Command::kImport || command == Command::kExport ||
         command == Command::kPack || command == Command::kPreprocess;
}

}  // namespace

CommandParameters withAbsolutePaths(const CommandParameters& parameters,
                                    const std::function<std::string()>& directory) {
  CommandParameters p = parameters;
  // Asked once, and only for a path that needs it: a run given absolute
  // paths alone works in a directory that was deleted.
  std::optional<std::string> known;
  auto absolute = [&](std::string& path) {
    if (velk::joinsDirectory(path) && !known) known = directory();
    path = velk::makeAbsolute(path, known ? *known : std::string());
  };
  for (std::string& input : p.xmlInputs) absolute(input);
  if (p.command != Command::kCompile) absolute(p.singlePath);
  if (p.command == Command::kImport || p.command == Command::kExport) absolute(p.databasePath);
  if (p.command == Command::kCompile) {
    absolute(p.settingsDatabasePath);
    absolute(p.storageDatabasePath);
    absolute(p.vsmOutput);
    if (!p.quarnConfig.empty()) absolute(p.quarnConfig);
  }
  return p;
}

CommandParameters withAbsolutePaths(const CommandParameters& parameters, const std::string& directory) {
  return withAbsolutePaths(parameters, [&] { return directory; });
}

velk::result_t runCommand(const CommandParameters& p, const CommandEnvironment& env) {
  switch (p.command) {
    case Command::kCompile: return compile(env, compileArguments(p));
    case Command::kPack: return pack(env, p.xmlInputs, p.singlePath);
    case Command::kPreprocess: return preprocess(env, p.product, p.definitions, p.xmlInputs, p.singlePath);
    case Command::kImport: return exchangeStatus(importDatabase(env, p.singlePath, p.databasePath));
    case Command::kExport: return exchangeStatus(exportDatabase(env, p.databasePath, p.singlePath));
    default: return 1;
  }
}

velk::result_t run(const CommandParameters& parameters, std::ostream& console) {
  if (!runsBody(parameters.command)) return 1;
  RunContext context(parameters, console);
  CommandParameters absolute = withAbsolutePaths(parameters, &currentDirectory);
  // Held until the command has let go of every output.
  velk::AdvisoryLock lock;
  if (!lockRunOutputs(absolute, context.environment().reporter, lock)) return velk::errors::kUnspecified;
  return runCommand(absolute, context.environment());
}

int exitStatus(velk::result_t result) {
  int low = static_cast<int>(static_cast<uint32_t>(result) & 0xFF);
  return velk::failed(result) && low == 0 ? 1 : low;
}

}  // namespace app_core

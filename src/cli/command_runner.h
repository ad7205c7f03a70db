// The run phase: builds the run context, makes the paths absolute and calls
// the command body.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "cli/command_parameters.h"
#include "console/command_environment.h"

namespace app_core {

// Returns the command's result; 1 without running anything after help.
velk::result_t run(const CommandParameters& parameters, std::ostream& console);

// The command-line paths made absolute against `directory`; an empty quarn
// configuration path stays empty.
CommandParameters withAbsolutePaths(const CommandParameters& parameters, const std::string& directory);
// The same, where `directory` is asked only when some path is relative.
CommandParameters withAbsolutePaths(const CommandParameters& parameters,
                                    const std::function<std::string()>& directory);

// Calls the body of the parsed command on `env`. Import and export answer 0
// or throw CheckResultFailedException with their failure.
velk::result_t runCommand(const CommandParameters& parameters, const CommandEnvironment& env);

// The process exit status of a result: its low 8 bits, but 1 for a failure
// whose low byte is 0.
int exitStatus(velk::result_t result);

}  // namespace app_core

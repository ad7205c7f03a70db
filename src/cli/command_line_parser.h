// Turns the arguments after the program name into CommandParameters.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_line_exception.h"
#include "cli/command_parameters.h"
#include "cli/option_table.h"

namespace app_core::command_line_options {

// Throws CommandLineException for a missing or unknown command word.
Command commandOfWord(const std::vector<std::string>& arguments);

// Parses into `parameters`; prints the usage text to `out` for help. Option
// errors and failed checks print "Error: <text>." and the help hint to `out`
// and are re-thrown.
void parse(const std::vector<std::string>& arguments, CommandParameters& parameters, std::ostream& out);

// The pieces of parse, for the code that wants them one by one.
void parseOptions(const std::vector<std::string>& arguments, size_t first, const OptionTable& table,
                  CommandParameters& parameters);
void checkParameters(const CommandParameters& parameters);
// "file|registry key": the file stays, the key goes to quarnRegistryPath.
void splitQuarnConfig(CommandParameters& parameters);
// "name=value" texts to Definitions; without "=" the text is all name.
void addDefinitions(CommandParameters& parameters);

}  // namespace app_core::command_line_options

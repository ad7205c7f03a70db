#pragma once

#include <string>

#include "console/command_environment.h"

namespace app_core {

// Writes every record of the database into the exchange file; kUnspecified
// when records had to be skipped (each reported).
velk::result_t exportDatabase(const CommandEnvironment& env, const std::string& database,
                              const std::string& xml);

// Stores every record of the exchange file into the database; kUnspecified,
// with nothing stored, when an error was reported while reading it.
velk::result_t importDatabase(const CommandEnvironment& env, const std::string& xml,
                              const std::string& database);

}  // namespace app_core

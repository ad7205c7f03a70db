#include "commands/exchange_commands.h"

namespace app_core {

velk::result_t exportDatabase(const CommandEnvironment&, const std::string&, const std::string&) {
  return velk::errors::kNotImplemented;
}

velk::result_t importDatabase(const CommandEnvironment&, const std::string&, const std::string&) {
  return velk::errors::kNotImplemented;
}

}  // namespace app_core

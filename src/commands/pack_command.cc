#include "commands/pack_command.h"

namespace app_core {

velk::result_t pack(const CommandEnvironment&, const std::vector<std::string>&, const std::string&) {
  return velk::errors::kNotImplemented;
}

velk::result_t preprocess(const CommandEnvironment&, const std::string&, const Definitions&,
                          const std::vector<std::string>&, const std::string&) {
  return velk::errors::kNotImplemented;
}

}  // namespace app_core

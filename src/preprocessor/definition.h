#pragma once

#include <string>
#include <vector>

namespace app_core {

// A preprocessor definition from the command line: "name=value".
struct Definition {
  std::string name;
  std::string value;
};

using Definitions = std::vector<Definition>;

}  // namespace app_core

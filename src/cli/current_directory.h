// The process's current directory, which relative command-line paths join.
#pragma once

#include <string>

namespace app_core {

// Throws CheckResultFailedException.
std::string currentDirectory();

}  // namespace app_core

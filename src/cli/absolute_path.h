// Makes command-line paths absolute against the current directory.
#pragma once

#include <string>

namespace app_core {

// Absolute paths ("/x", "\\server\x", "C:\x", "C:/x") stay; "C:" gets a "\"
// appended; anything else is joined to `directory` and normalised lexically.
std::string makeAbsolute(const std::string& path, const std::string& directory);

// False for the paths makeAbsolute leaves alone or completes without the
// directory.
bool isRelativePath(const std::string& path);

// The process's current directory; throws CheckResultFailedException.
std::string currentDirectory();

}  // namespace app_core

#include "platform/path_rules.h"

#include <algorithm>
#include <filesystem>

namespace velk {
namespace fs = std::filesystem;

bool isAbsolutePath(const std::string& path) {
  if (!path.empty() && path[0] == '/') return true;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

bool joinsDirectory(const std::string& path) {
  return !isAbsolutePath(path) && !(path.size() == 2 && path[1] == ':');
}

std::string makeAbsolute(const std::string& path, const std::string& directory) {
  if (isAbsolutePath(path)) return path;
  if (path.size() == 2 && path[1] == ':') return path + "\\";
  std::string joined = directory;
  if (joined.empty() || (joined.back() != '/' && joined.back() != '\\')) joined += '/';
  joined += path;
  return fs::path(joined).lexically_normal().string();
}

std::string resolveAgainstFile(const std::string& file, const std::string& includingFile) {
  std::string written = file;
  std::replace(written.begin(), written.end(), '\\', '/');
  fs::path path(written);
  if (path.is_absolute()) return path.lexically_normal().string();
  return (fs::path(includingFile).parent_path() / path).lexically_normal().string();
}

std::string extensionOf(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;) {
    if (path[i] == '/' || path[i] == '\\') break;
    if (path[i] == '.') return path.substr(i + 1);
  }
  return {};
}

bool createParentDirectories(const std::string& path, std::error_code& error) {
  error.clear();
  fs::path directory = fs::path(path).parent_path();
  if (directory.empty()) return true;
  fs::create_directories(directory, error);
  return !error && fs::is_directory(directory, error);
}

}  // namespace velk

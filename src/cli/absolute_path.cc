#include "cli/absolute_path.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "velk/exception.h"

namespace app_core {
namespace {

bool isAbsolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return true;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
  return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

}  // namespace

bool isRelativePath(const std::string& path) {
  return !isAbsolute(path) && !(path.size() == 2 && path[1] == ':');
}

std::string makeAbsolute(const std::string& path, const std::string& directory) {
  if (isAbsolute(path)) return path;
  if (path.size() == 2 && path[1] == ':') return path + "\\";
  std::string joined = directory;
  if (joined.empty() || (joined.back() != '/' && joined.back() != '\\')) joined += '/';
  joined += path;
  return std::filesystem::path(joined).lexically_normal().string();
}

std::string currentDirectory() {
  std::vector<char> buffer(4096);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) velk::checkResult(velk::fromErrno(errno), {"tools/hesk_config/source/hesk_config", 168});
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace app_core

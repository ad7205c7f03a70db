#include "platform/same_file.h"

#include <sys/stat.h>

#include <filesystem>

namespace velk {
namespace fs = std::filesystem;

std::string comparablePath(const std::string& path) {
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) resolved = fs::absolute(path, error).lexically_normal();
  return resolved.string();
}

bool sameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  bool firstExists = ::stat(first.c_str(), &a) == 0;
  bool secondExists = ::stat(second.c_str(), &b) == 0;
  if (firstExists && secondExists) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  return comparablePath(first) == comparablePath(second);
}

}  // namespace velk

#include "platform/same_file.h"

#include <sys/stat.h>

#include <filesystem>

namespace velk {
namespace {

namespace fs = std::filesystem;

// The absolute, normalised form of a path that does not exist; the part
// that exists is resolved, so "dir/../x" and a link to the directory agree.
std::string normalisedPath(const std::string& path) {
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) resolved = fs::absolute(path, error).lexically_normal();
  return resolved.string();
}

}  // namespace

bool sameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  bool firstExists = ::stat(first.c_str(), &a) == 0;
  bool secondExists = ::stat(second.c_str(), &b) == 0;
  if (firstExists && secondExists) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  return normalisedPath(first) == normalisedPath(second);
}

}  // namespace velk

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

const std::string& PathIdentity::comparable() const {
  if (!comparable_) comparable_ = comparablePath(path_);
  return *comparable_;
}

bool sameFile(const PathIdentity& first, const PathIdentity& second) {
  struct stat a {};
  struct stat b {};
  bool firstExists = ::stat(first.path().c_str(), &a) == 0;
  bool secondExists = ::stat(second.path().c_str(), &b) == 0;
  if (firstExists && secondExists) return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
  return first.comparable() == second.comparable();
}

bool sameFile(const std::string& first, const std::string& second) {
  return sameFile(PathIdentity(first), PathIdentity(second));
}

}  // namespace velk

// Whether two paths name one file, for keeping a run's outputs off its
// inputs and off each other.
#pragma once

#include <optional>
#include <string>

namespace velk {

// The absolute, normalised form of `path` with the part that exists
// resolved (links included): two spellings of one file give one text.
std::string comparablePath(const std::string& path);

// A path with its comparable form worked out once, when first needed:
// resolving costs a system call per part of the path, and a run tests each
// of its outputs against every file it includes.
class PathIdentity {
 public:
  explicit PathIdentity(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  const std::string& comparable() const;

 private:
  std::string path_;
  mutable std::optional<std::string> comparable_;
};

// True when both paths exist and are the same file (device and inode, so
// links and different spellings are seen through), or, when one does not
// exist yet, when both normalise to the same absolute path (the part of a
// path that exists is resolved, links included).
bool sameFile(const PathIdentity& first, const PathIdentity& second);
bool sameFile(const std::string& first, const std::string& second);

}  // namespace velk

// Whether two paths name one file, for keeping a run's outputs off its
// inputs and off each other.
#pragma once

#include <string>

namespace velk {

// True when both paths exist and are the same file (device and inode, so
// links and different spellings are seen through), or, when one does not
// exist yet, when both normalise to the same absolute path (the part of a
// path that exists is resolved, links included).
bool sameFile(const std::string& first, const std::string& second);

// The absolute, normalised form of `path` with the part that exists
// resolved (links included): two spellings of one file give one text.
std::string comparablePath(const std::string& path);

}  // namespace velk

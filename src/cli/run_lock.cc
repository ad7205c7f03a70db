#include "cli/run_lock.h"

#include <filesystem>
#include <system_error>

#include "cli/command_files.h"
#include "platform/path_rules.h"

namespace app_core {
namespace {

namespace fs = std::filesystem;

// The directory that holds `path` or, when it cannot be made, its nearest
// existing ancestor; the command reports the failure to make it.
std::string lockedDirectoryOf(const std::string& path, bool make) {
  std::error_code error;
  if (make) velk::createParentDirectories(path, error);
  fs::path directory = fs::path(path).parent_path();
  while (!directory.empty() && !fs::is_directory(directory, error)) {
    fs::path parent = directory.parent_path();
    if (parent == directory) break;
    directory = parent;
  }
  return directory.empty() ? "." : directory.string();
}

}  // namespace

bool lockRunOutputs(const CommandParameters& parameters, helpers::StorageErrorReporter* reporter,
                    velk::AdvisoryLock& lock, std::chrono::milliseconds patience) {
  std::vector<std::string> directories;
  for (const NamedPath& output : outputsOf(parameters)) directories.push_back(lockedDirectoryOf(output.path, true));
  // Export changes the database's journal mode for a while.
  if (parameters.command == Command::kExport) directories.push_back(lockedDirectoryOf(parameters.databasePath, false));
  std::string blocked;
  std::error_code error = lock.acquire(directories, patience, blocked);
  if (!error) return true;
  if (error == std::errc::timed_out) {
    reporter->ReportError(nullptr, "Another run kept writing in \"" + blocked + "\" for " +
                                       std::to_string(patience.count() / 1000) + " s; nothing was written");
  } else {
    reporter->ReportError(nullptr, "Can't lock \"" + blocked + "\" for writing: " + error.message());
  }
  return false;
}

}  // namespace app_core

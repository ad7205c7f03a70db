// One writer at a time: a run holds an advisory lock on the directories of
// its outputs from before it opens them until it has let go of them all. A
// second run on the same outputs waits, then proceeds on what the first
// left, or gives up without touching anything.
#pragma once

#include <chrono>

#include "cli/command_parameters.h"
#include "console/storage_error_reporter.h"
#include "platform/advisory_lock.h"

namespace app_core {

constexpr std::chrono::seconds kRunLockPatience{60};

// Locks the directories that hold the command's outputs (made first when
// missing, as opening the outputs would) and, for export, the database's.
// False, with the error reported, when another run kept one locked for
// `patience` or a directory cannot be locked.
bool lockRunOutputs(const CommandParameters& parameters, helpers::StorageErrorReporter* reporter,
                    velk::AdvisoryLock& lock, std::chrono::milliseconds patience = kRunLockPatience);

}  // namespace app_core

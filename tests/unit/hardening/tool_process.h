// Runs the tool as a child process and reads a database the way a later
// run would, for the crash and concurrency tests.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace hardening {

// Starts the tool with `arguments` (after the program name); its output
// goes to /dev/null.
pid_t startTool(const std::vector<std::string>& arguments);

// Waits for the child; the exit status, or 128 + signal when it was killed.
int waitTool(pid_t child);

// Starts the tool and waits for it.
int runTool(const std::vector<std::string>& arguments);

// Runs the tool with a file size limit of `kilobytes`, which stands in for a
// full disk (its signal ignored, so that writes fail instead).
int runToolOnFullDisk(const std::vector<std::string>& arguments, int kilobytes);

struct DatabaseDump {
  std::string integrity;           // "ok" when the integrity check passed
  std::vector<std::string> rows;   // "key=value", sorted by key
  bool operator==(const DatabaseDump&) const = default;
};

// Opens the database file itself (not through the tool), runs the
// integrity check and reads every record.
DatabaseDump dumpDatabase(const std::string& path);

// Writes an exchange file with the keys `first` to `first + count - 1`
// ("<prefix><n>"), each value tagged with `tag`.
void writeExchangeFile(const std::string& path, int first, int count, const std::string& tag,
                       const std::string& prefix = "k");

// The record that writeExchangeFile writes for key number `n`, as a dump
// row, and the same as the tool stores it.
std::string exchangeRow(const std::string& prefix, int n, const std::string& tag);

// Writes a valid configuration of about `services` services with settings
// and tasks into `folder` (the benchmark generator); gives its main file.
std::string writeConfiguration(const std::string& folder, int services);

// The number of rounds of a test that repeats at random moments: the
// environment's HESK_CRASH_ROUNDS when set (long campaigns), else `fallback`.
int roundsOr(int fallback);

}  // namespace hardening

// The tool's path rules, in one place: which paths are absolute, how a
// relative path joins a directory, how an include's file name resolves
// against the including file, and what a path's extension is. Paths are
// POSIX paths; the absolute forms a Windows command line may carry stay
// absolute too, and an include may write "\" as its separator.
#pragma once

#include <string>
#include <system_error>

namespace velk {

// "/x", "\\server\x", "C:\x" and "C:/x" are absolute.
bool isAbsolutePath(const std::string& path);

// Absolute paths stay as written; "C:" gets a "\" appended; anything else is
// joined to `directory` and normalised lexically.
std::string makeAbsolute(const std::string& path, const std::string& directory);
// True when makeAbsolute needs the directory for `path`.
bool joinsDirectory(const std::string& path);

// An include's `file` resolved against the file that includes it: "\" reads
// as "/", and the result is normalised lexically.
std::string resolveAgainstFile(const std::string& file, const std::string& includingFile);

// The text after the last "." of the file name, "" when it has none.
std::string extensionOf(const std::string& path);

// Creates the directory that will hold `path`, with every missing parent. An
// existing directory is no failure; anything else standing where one must
// be is. False on failure; `error` then says why when the system did.
bool createParentDirectories(const std::string& path, std::error_code& error);

}  // namespace velk

// The new content of one file, put in place of the old in a single rename:
// a process stopped at any instant leaves the old bytes or the new ones,
// never a mixture, a shortened file or zeros.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace velk {

class FileReplacement {
 public:
  explicit FileReplacement(std::string target);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Writes `bytes` into a new temporary file in the target's directory and
  // flushes it to disk. The temporary gets the target's permission bits, or
  // those of a newly created file when there is no target yet. A second
  // stage replaces the first temporary. Temporaries of the target that
  // killed runs left behind (their process is gone) are removed first.
  std::error_code stage(std::string_view bytes);

  // Renames the staged temporary over the target (a symbolic link is
  // followed: the file it names is replaced) and flushes the directory.
  std::error_code commit();

  bool staged() const { return !temporary_.empty(); }
  const std::string& target() const { return target_; }

 private:
  std::error_code writeTemporary(std::string_view bytes);
  void discard();

  std::string target_;
  std::string temporary_;
};

}  // namespace velk

// A fresh folder under the system's temporary directory, removed with all it
// holds when the object goes. Each object has a folder of its own, so tests
// running side by side never share one.
#pragma once

#include <filesystem>
#include <string>

namespace app_core::testing {

class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // The path of `name` inside the folder.
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  // Writes `content` byte for byte into `name`; gives its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path root_;
};

}  // namespace app_core::testing

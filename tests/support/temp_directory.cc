#include "temp_directory.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace app_core::testing {

TempDirectory::TempDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "hesk_test.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder from " + pattern);
  root_ = pattern;
}

TempDirectory::~TempDirectory() {
  // Tests take rights away from the folder to provoke failures; give them
  // back so that it can be emptied.
  std::error_code ignored;
  std::filesystem::permissions(root_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                               ignored);
  std::filesystem::remove_all(root_, ignored);
}

std::string TempDirectory::write(const std::string& name, const std::string& content) const {
  std::ofstream(path(name), std::ios::binary) << content;
  return path(name);
}

}  // namespace app_core::testing

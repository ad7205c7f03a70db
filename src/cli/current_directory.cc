#include "cli/current_directory.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "velk/exception.h"

namespace app_core {

std::string currentDirectory() {
  std::vector<char> buffer(4096);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) velk::checkResult(velk::fromErrno(errno), {"tools/hesk_config/source/hesk_config", 168});
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

}  // namespace app_core

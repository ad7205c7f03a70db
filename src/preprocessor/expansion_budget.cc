#include "preprocessor/expansion_budget.h"

#include <sys/stat.h>

namespace app_core::helpers {

void ExpansionBudget::addSourceFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) addSource(static_cast<uint64_t>(info.st_size));
}

void ExpansionBudget::reportCrossing(IFileLocation* at, const std::string& what) {
  if (reporter_) reporter_->ReportError(at, what + " expands to more than " + std::to_string(limit()) + " bytes");
}

}  // namespace app_core::helpers

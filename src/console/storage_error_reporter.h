// The one road for diagnostics: every problem found in the sources, every
// preprocessor message and every summary line goes through a reporter.
#pragma once

#include <string_view>

#include "console/file_location.h"
#include "velk/object.h"

namespace app_core::helpers {

struct StorageErrorReporter : velk::IObject {
  static constexpr velk::iid_t IID = 0x7C2E41A8;
  // A plain line at level 100.
  virtual void ReportMessage(std::string_view text) = 0;
  // "<location>: Error: <text>" with the include chain; `location` may be null.
  virtual void ReportError(IFileLocation* location, std::string_view text) = 0;
  virtual void ReportWarning(IFileLocation* location, std::string_view text) = 0;
  virtual void ReportInfo(IFileLocation* location, std::string_view text) = 0;
  // Whether information lines go anywhere, so that a sender may skip their
  // work when not; "yes" is always a safe answer.
  virtual bool ReportsInfo() { return true; }
};

}  // namespace app_core::helpers

// A reporter that keeps every diagnostic it is told, with views for the
// checks tests make: whole reports, one line per diagnostic, or the error
// texts alone.
#pragma once

#include <string>
#include <vector>

#include "console/storage_error_reporter.h"

namespace app_core::testing {

// `at`, then each location it was included from, joined by " <- ".
std::string includeChain(helpers::IFileLocation* at);

struct Report {
  std::string kind;   // "Message", "Error", "Warning" or "Info"
  std::string where;  // the include chain of the location; "" when none
  std::string text;
  bool operator==(const Report&) const = default;
};

class RecordingReporter : public velk::ObjectBase<helpers::StorageErrorReporter> {
 public:
  void ReportMessage(std::string_view text) override { add("Message", nullptr, text); }
  void ReportError(helpers::IFileLocation* at, std::string_view text) override { add("Error", at, text); }
  void ReportWarning(helpers::IFileLocation* at, std::string_view text) override { add("Warning", at, text); }
  void ReportInfo(helpers::IFileLocation* at, std::string_view text) override { add("Info", at, text); }

  std::vector<Report> reports;

  // Each report as "E|W|I|M <where>: <text>" ("-" when there is no location).
  std::vector<std::string> lines() const;
  // The lines of one kind only ('E', 'W', 'I' or 'M').
  std::vector<std::string> of(char kind) const;
  // The texts of the errors.
  std::vector<std::string> errors() const;

 private:
  void add(const char* kind, helpers::IFileLocation* at, std::string_view text);
};

}  // namespace app_core::testing

#include "recording_reporter.h"

namespace app_core::testing {

std::string includeChain(helpers::IFileLocation* at) {
  std::string text;
  for (; at; at = at->GetIncludedFrom()) text += (text.empty() ? "" : " <- ") + helpers::locationText(at);
  return text;
}

std::vector<std::string> RecordingReporter::lines() const {
  std::vector<std::string> all;
  for (const Report& r : reports)
    all.push_back(r.kind.substr(0, 1) + " " + (r.where.empty() ? "-" : r.where) + ": " + r.text);
  return all;
}

std::vector<std::string> RecordingReporter::of(char kind) const {
  std::vector<std::string> selected;
  for (const std::string& line : lines())
    if (line[0] == kind) selected.push_back(line);
  return selected;
}

std::vector<std::string> RecordingReporter::errors() const {
  std::vector<std::string> texts;
  for (const Report& r : reports)
    if (r.kind == "Error") texts.push_back(r.text);
  return texts;
}

void RecordingReporter::add(const char* kind, helpers::IFileLocation* at, std::string_view text) {
  reports.push_back({kind, includeChain(at), std::string(text)});
}

}  // namespace app_core::testing

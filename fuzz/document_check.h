// The checks the targets make on what a command wrote, beyond "no crash".
#pragma once

#include <string>

#include "xmlfile/xml_file_storage.h"

namespace hesk_fuzz {

// The document at `path` read as the tool reads an input (the input check,
// then the parser), or none when that reports anything.
velk::Ref<app_core::helpers::IXmlFileStorage> readBack(const std::string& path);

// Ends the run as a finding: libFuzzer keeps the input that did it.
[[noreturn]] void propertyFails(const std::string& what);

// While it lives, an input that takes more than a second of processor time
// ends the run as a finding. libFuzzer's -timeout goes by the wall clock,
// which on a loaded machine also stops inputs that only waited for a core;
// run.sh keeps it, longer, for inputs that hang without running.
class ProcessorTimeLimit {
 public:
  ProcessorTimeLimit();
  ~ProcessorTimeLimit();
  ProcessorTimeLimit(const ProcessorTimeLimit&) = delete;
  ProcessorTimeLimit& operator=(const ProcessorTimeLimit&) = delete;
};

}  // namespace hesk_fuzz

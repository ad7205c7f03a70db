// The directory an output file will live in, made before the file is opened.
#pragma once

#include <string>

#include "velk/exception.h"

namespace app_core {

// Where the compile pipeline's opening failures say they were raised.
constexpr const char* kCompilerSource = "components/vorn_config_compiler/source/vorn_config_compiler";

// Creates the directory that will hold `path`, with every missing parent.
// A failure raises helpers::Exception "Can't create directory for output
// file: <path>" with the failure code, at `pos`.
void createOutputDirectory(const std::string& path, velk::SourcePos pos);

}  // namespace app_core

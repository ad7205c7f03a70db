// The files a command reads and writes, each with the option that names it:
// for keeping outputs off inputs and off each other, and for the lock a run
// holds on its outputs.
#pragma once

#include <string>
#include <vector>

#include "cli/command_parameters.h"

namespace app_core {

struct NamedPath {
  std::string option;  // as the user writes it, "--vsm"
  std::string path;
};

// The files the command writes, the trace file excluded; empty paths are
// left out.
std::vector<NamedPath> outputsOf(const CommandParameters& parameters);

// The files the command only reads: the XML inputs, and the database that
// export reads.
std::vector<NamedPath> inputsOf(const CommandParameters& parameters);

namespace command_line_options {

// Raises CommandLineException naming both paths when an output (the trace
// file included) is the same file as an input or as another output.
void checkOutputsApart(const CommandParameters& parameters);

}  // namespace command_line_options
}  // namespace app_core

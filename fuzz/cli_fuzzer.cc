// The command-line parser: the input is the argument list, the arguments
// separated by NUL bytes. Only parsing and the path handling run; no command
// body, since fuzzed paths must not reach the file system.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line_parser.h"
#include "cli/command_runner.h"
#include "document_check.h"
#include "platform/path_rules.h"

namespace {

constexpr size_t kMaxArguments = 64;

std::vector<std::string> argumentsOf(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments(1);
  for (size_t i = 0; i < size && arguments.size() <= kMaxArguments; ++i) {
    if (data[i] == 0)
      arguments.emplace_back();
    else
      arguments.back() += static_cast<char>(data[i]);
  }
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  using namespace app_core;
  std::vector<std::string> arguments = argumentsOf(data, size);
  std::ostringstream out;
  CommandParameters parameters;
  try {
    command_line_options::parse(arguments, parameters, out);
  } catch (const command_line_options::CommandLineException&) {
    return 0;
  }
  CommandParameters absolute = withAbsolutePaths(parameters, "/scratch/current");
  velk::extensionOf(absolute.singlePath);
  return 0;
}

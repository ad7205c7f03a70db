// Errors of the command line; they print as "Error: <text>." with a hint.
#pragma once

#include <stdexcept>
#include <string>

namespace app_core::command_line_options {

class CommandLineException : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// An argument that is malformed, unknown to the command or has a bad value.
class InvalidArgumentException : public CommandLineException {
 public:
  explicit InvalidArgumentException(const std::string& argument)
      : CommandLineException("InvalidArgument: " + argument) {}
};

}  // namespace app_core::command_line_options

// A run context as the command line makes one, with its console discarded:
// the fuzz targets call command bodies directly.
#pragma once

#include <ostream>

#include "cli/command_parameters.h"
#include "cli/run_context.h"

namespace hesk_fuzz {

class QuietRun {
 public:
  QuietRun() : parameters_(withAllMessages()), context_(parameters_, console_) {}

  const app_core::CommandEnvironment& environment() const { return context_.environment(); }

 private:
  static app_core::CommandParameters withAllMessages() {
    app_core::CommandParameters parameters;
    parameters.messageLevel = 3;
    return parameters;
  }

  std::ostream console_{nullptr};
  app_core::CommandParameters parameters_;
  app_core::RunContext context_;
};

}  // namespace hesk_fuzz

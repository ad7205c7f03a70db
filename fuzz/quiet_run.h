// A run context as the command line makes one, with its console discarded:
// the fuzz targets call command bodies directly. One context serves every
// input of a process: making the locator and the tracer subsystem per input
// cost more than reading a small input. Its reporter's counts grow over the
// run, so a target compares them before and after a command.
#pragma once

#include <cstdint>
#include <ostream>

#include "cli/command_parameters.h"
#include "cli/run_context.h"

namespace hesk_fuzz {

class QuietRun {
 public:
  QuietRun() : parameters_(withAllMessages()), context_(parameters_, console_) {}

  const app_core::CommandEnvironment& environment() const { return context_.environment(); }

  // Never destroyed: exit handlers of the targets may still use it.
  static const app_core::CommandEnvironment& shared() {
    static const QuietRun* run = new QuietRun;
    return run->environment();
  }

  // The errors counted so far by the shared context.
  static uint32_t errorCount() { return shared().counter->errorCount(); }

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

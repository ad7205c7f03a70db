// A run context as the command line makes one, with its console discarded:
// the fuzz targets call command bodies directly. One context serves every
// input of a process: making the locator and the tracer subsystem per input
// cost more than reading a small input. Each command gets a reporter chain
// of its own (InputRun): the chain passes on and counts a diagnostic with a
// location once per run, so a shared one would judge an input by the ones
// before it.
#pragma once

#include <cstdint>
#include <ostream>

#include "cli/command_parameters.h"
#include "cli/run_context.h"
#include "console/storage_error_tracer.h"
#include "console/stream_buffer_tracer_proxy.h"

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

// The shared context with a fresh reporter chain, as one command run has.
class InputRun {
 public:
  InputRun() : reporter_(makeReporter()) {
    environment_ = QuietRun::shared();
    environment_.reporter = reporter_.get();
    environment_.counter = reporter_.get();
  }

  const app_core::CommandEnvironment& environment() const { return environment_; }
  app_core::helpers::StorageErrorReporterProxy* reporter() const { return reporter_.get(); }
  uint32_t errorCount() const { return reporter_->errorCount(); }

 private:
  static velk::Ref<app_core::helpers::StorageErrorReporterProxy> makeReporter() {
    static std::ostream console(nullptr);
    auto tracer = velk::getService<velk::ITracer>(QuietRun::shared().locator);
    auto consoleTracer = velk::make<app_core::helpers::StreamBufferTracerProxy<std::ostream>>(
        console, std::move(tracer), app_core::helpers::consoleThreshold(3));
    auto inner = velk::make<app_core::helpers::StorageErrorTracer>(std::move(consoleTracer));
    return velk::make<app_core::helpers::StorageErrorReporterProxy>(std::move(inner));
  }

  velk::Ref<app_core::helpers::StorageErrorReporterProxy> reporter_;
  app_core::CommandEnvironment environment_;
};

}  // namespace hesk_fuzz

// Everything a command body runs on: the locator with its allocator and
// tracer, the console reporter chain and the XML storage factory.
#pragma once

#include <memory>
#include <ostream>

#include "cli/command_parameters.h"
#include "console/command_environment.h"
#include "console/storage_error_reporter_proxy.h"
#include "console/tracer_subsystem.h"
#include "velk/basic_service_locator.h"

namespace app_core {

// The class and interface of the XML storage factory every command gets.
constexpr velk::clsid_t kXmlStorageFactoryClass = 0x6332D8FD;
constexpr velk::iid_t kXmlStorageFactoryInterface = 0x47EAA67D;

class RunContext {
 public:
  // Builds the chain; console lines go to `console`.
  RunContext(const CommandParameters& parameters, std::ostream& console);

  const CommandEnvironment& environment() const { return environment_; }

 private:
  static TracerSettings tracerSettings(const CommandParameters& parameters);
  void buildReporterChain(const CommandParameters& parameters, std::ostream& console);

  // Released in reverse order of declaration: the factory, the reporter
  // chain, the locator, and the tracer subsystem last, so its closing record
  // is written after everything else has gone.
  std::unique_ptr<TracerSubsystem> tracerSubsystem_;
  velk::Ref<test::BasicServiceLocator> locator_;
  velk::Ref<helpers::StorageErrorReporterProxy> reporter_;
  velk::Ref<velk::IObject> xmlStorageFactory_;
  CommandEnvironment environment_;
};

}  // namespace app_core

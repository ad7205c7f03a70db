#include "cli/run_context.h"

#include "console/storage_error_tracer.h"
#include "console/stream_buffer_tracer_proxy.h"

namespace app_core {

RunContext::RunContext(const CommandParameters& parameters, std::ostream& console) {
  locator_ = test::makeBasicServiceLocator();
  tracerSubsystem_ = std::make_unique<TracerSubsystem>(*locator_, tracerSettings(parameters));
  buildReporterChain(parameters, console);
  xmlStorageFactory_ = velk::createObject<velk::IObject>(locator_.get(), kXmlStorageFactoryClass,
                                                          kXmlStorageFactoryInterface);
  environment_.locator = locator_.get();
  environment_.reporter = reporter_.get();
  environment_.counter = reporter_.get();
  environment_.xmlStorageFactory = xmlStorageFactory_.get();
}

TracerSettings RunContext::tracerSettings(const CommandParameters& parameters) {
  TracerSettings settings;
  settings.level = parameters.traceLevel;
  settings.filePath = parameters.traceFilePath;
  settings.prefixFormat = parameters.tracePrefixFormat;
  return settings;
}

void RunContext::buildReporterChain(const CommandParameters& parameters, std::ostream& console) {
  auto tracer = velk::getService<velk::ITracer>(locator_.get());
  auto consoleTracer = velk::make<helpers::StreamBufferTracerProxy<std::ostream>>(
      console, std::move(tracer), helpers::consoleThreshold(parameters.messageLevel));
  auto reporter = velk::make<helpers::StorageErrorTracer>(std::move(consoleTracer));
  reporter_ = velk::make<helpers::StorageErrorReporterProxy>(std::move(reporter));
}

}  // namespace app_core

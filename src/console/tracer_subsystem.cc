#include "console/tracer_subsystem.h"

#include "console/helpers_exceptions.h"
#include "velk/tracer_configuration.h"

namespace app_core {
namespace {

using namespace velk::tracer;

constexpr const char* kSource = "service_manager_loader/tracer_subsystem";

template <class I>
velk::Ref<I> requireInterface(velk::IObject* object, const char* message, uint32_t line) {
  velk::Ref<I> result;
  velk::result_t r = object->QueryInterface(I::IID, result.putVoid());
  if (velk::failed(r)) throw helpers::Exception({kSource, line}, message, r);
  return result;
}

velk::Ref<ITraceChannel> createFileChannel(velk::IServiceLocator* locator, const std::string& path) {
  auto channel = velk::createObject<IFileChannel>(locator, kFileChannelClass);
  velk::result_t r = channel->Create(path);
  if (velk::failed(r)) throw helpers::NamedObjectError({kSource, 71}, "failed to create trace file", path, r);
  return channel;
}

}  // namespace

TracerSubsystem::TracerSubsystem(test::BasicServiceLocator& locator, const TracerSettings& settings) {
  auto tracer = velk::createObject<velk::ITracer>(&locator, kTracerClass);
  auto configurator = requireInterface<ITracerConfigurator>(
      tracer.get(), "Tracer does not support velk::tracer::ITracerConfigurator", 52);
  auto demultiplexor = velk::createObject<ITraceChannel>(&locator, kDemultiplexorChannelClass);
  auto channels = requireInterface<IDemultiplexorChannelConfigurator>(
      demultiplexor.get(), "Demultiplexor channel does not support velk::tracer::IDemultiplexorChannelConfigurator",
      58);
  velk::checkResult(configurator->SetChannel(demultiplexor.get()), {kSource, 61});
  if (settings.level != 0 && !settings.filePath.empty())
    velk::checkResult(channels->AddChannel(createFileChannel(&locator, settings.filePath).get()),
                      {kSource, 74});
  velk::checkResult(configurator->SetPrefixFormat(settings.prefixFormat), {kSource, 77});
  velk::checkResult(configurator->SetLevel(settings.level), {kSource, 78});
  locator.setTracer(tracer);
  tracer_ = std::move(tracer);
  velk::trace(tracer_.get(), velk::trace_level::kAlways, "loader\tTracer subsystem initialized");
}

TracerSubsystem::~TracerSubsystem() {
  velk::trace(tracer_.get(), velk::trace_level::kAlways, "loader\tTracer subsystem deinitialized");
}

}  // namespace app_core

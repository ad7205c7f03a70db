// The preprocessor and the configuration front end: the input is a small
// source tree (see fuzz_input.h) whose "main.xml" is preprocessed into a
// scratch document and read through the preprocessor chain into the source
// configuration, from which the model is built.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "cli/run_context.h"
#include "cli/tool_main.h"
#include "commands/pack_command.h"
#include "compiler/configuration_reader.h"
#include "compiler/model_builder.h"
#include "compiler/schedule_serializer.h"
#include "compiler/serializer_factory.h"
#include "compiler/values_free_storage_factory.h"
#include "fuzz_input.h"
#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "xmlfile/open_xml_file.h"

namespace {

using namespace app_core;

const Definitions kDefinitions = {{"A", "1"}, {"B", ""}, {"NAME", "n${A}"}};
const std::string kProduct = "QPX";

void readAndBuild(const CommandEnvironment& env, const std::string& input) {
  auto factory = velk::queryInterface<velk::IXmlStorageFactory>(env.xmlStorageFactory);
  auto chain = helpers::makePreprocessorChain(velk::Ref<helpers::StorageErrorReporter>(env.reporter),
                                              env.xmlStorageFactory, kDefinitions, kProduct);
  auto serializer = createScheduleSerializer(velk::make<velk::SerializerFactory>(nullptr).get());
  auto adapters = velk::make<velk::ValuesFreeStorageFactory>(nullptr);
  SourceConfiguration source;
  auto root = helpers::openXmlFile(factory.get(), input, env.reporter, nullptr);
  if (!root) return;
  auto view = velk::make<helpers::FilteredStorage>(root, chain);
  readConfiguration(env.reporter, view.get(), {serializer.get(), adapters.get()}, source);
  buildModel(source, env.reporter);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  registerFactoryTables();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& folder = hesk_fuzz::freshScratchFolder();
  std::string input = hesk_fuzz::writeFiles(folder, hesk_fuzz::splitInput(data, size));
  std::ostream console(nullptr);
  CommandParameters parameters;
  parameters.messageLevel = 3;
  RunContext context(parameters, console);
  const CommandEnvironment& env = context.environment();
  preprocess(env, kProduct, kDefinitions, {input}, folder + "/preprocessed/out.xml");
  try {
    readAndBuild(env, input);
  } catch (const velk::Exception&) {
    // A define without a value, or a read failure inside a filter, ends the run.
  }
  return 0;
}

// The preprocessor and the whole compile: the input is a small source tree
// (see fuzz_input.h) whose "main.xml" is preprocessed into a scratch
// document and compiled into scratch databases and a scratch .vsm file. The
// input's length picks the product and whether the tasks go to the
// databases or to a quarn profiles.xml or ppp.reg file.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "cli/run_context.h"
#include "cli/tool_main.h"
#include "commands/pack_command.h"
#include "compiler/compile_pipeline.h"
#include "fuzz_input.h"

namespace {

using namespace app_core;

const Definitions kDefinitions = {{"A", "1"}, {"B", ""}, {"NAME", "n${A}"}};
// The golden cases mostly use the first product, the examples the second.
const char* const kProducts[] = {"QPX", "PRO"};

CompileArguments compileArguments(const std::string& folder, const std::string& input, size_t size) {
  CompileArguments args;
  args.product = kProducts[(size / 3) % 2];
  args.definitions = kDefinitions;
  args.inputs = {input};
  args.settingsDatabase = folder + "/out/settings.kvdb";
  args.storageDatabase = folder + "/out/storage.kvro";
  args.vsmOutput = folder + "/out/config.vsm";
  if (size % 3 == 1) args.quarnConfig = folder + "/out/profiles.xml";
  if (size % 3 == 2) {
    args.quarnConfig = folder + "/out/ppp.reg";
    args.quarnRegistryPath = "HKEY_LOCAL_MACHINE\\Software\\Vendor";
  }
  return args;
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
  preprocess(env, kProducts[0], kDefinitions, {input}, folder + "/preprocessed/out.xml");
  // The compile catches what it raises itself; anything else escaping it is
  // a finding.
  compile(env, compileArguments(folder, input, size));
  return 0;
}

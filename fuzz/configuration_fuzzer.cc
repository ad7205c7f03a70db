// The preprocessor, the configuration reader and the model: the input is a
// small source tree (see fuzz_input.h) whose "main.xml" is read and checked as
// a compile reads it. An input that checks without errors is then compiled
// into scratch databases and a scratch .vsm file, and preprocessed into a
// scratch document; so is one in sixteen of the others, for the paths that
// fail part way and roll back. Opening and closing the databases costs far
// more than reading a small tree, and is the same for every rejected input.
// The input's length picks the product and whether the tasks go to the
// databases or to a quarn profiles.xml or ppp.reg file.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "cli/tool_main.h"
#include "commands/pack_command.h"
#include "commands/compile_pipeline.h"
#include "fuzz_input.h"
#include "quiet_run.h"

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

// Reading may raise (a compile reports that as "Compilation failed").
bool checksWithoutErrors(const CompileArguments& args) {
  hesk_fuzz::QuietRun run;
  try {
    return checkConfiguration(makeCompileContext(run.environment()), args);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  registerFactoryTables();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto [folder, input] = hesk_fuzz::writeInput(data, size);
  CompileArguments args = compileArguments(folder, input, size);
  if (!checksWithoutErrors(args) && hesk_fuzz::inputHash(data, size) % 16 != 0) return 0;
  hesk_fuzz::QuietRun run;
  preprocess(run.environment(), args.product, kDefinitions, {input}, folder + "/preprocessed/out.xml");
  // The compile catches what it raises itself; anything else escaping it is
  // a finding.
  compile(run.environment(), args);
  return 0;
}

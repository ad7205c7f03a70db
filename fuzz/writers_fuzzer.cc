// The compile's writers: the input is a small source tree (see
// fuzz_input.h); one that checks without errors is compiled into scratch
// databases and a scratch .vsm file, with the tasks in the databases, a
// quarn profiles.xml or a ppp.reg file as the input's length picks. Trees
// that do not check stop after the front end (`front_fuzzer` covers that
// part); the golden cases' and the example's valid models among the seeds
// keep mutations close to valid ones.
// What the compile wrote must read again: the .vsm and a profiles.xml as
// documents.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/tool_main.h"
#include "compile_run.h"
#include "document_check.h"
#include "fuzz_input.h"
#include "scratch_stores.h"

namespace {

using namespace app_core;

CompileArguments compileArguments(const std::string& folder, const std::string& input, size_t size) {
  CompileArguments args = hesk_fuzz::compileArgumentsFor(input, size);
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
  hesk_fuzz::useScratchStores();
  registerFactoryTables();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  auto [folder, input] = hesk_fuzz::writeInput(data, size);
  CompileArguments args = compileArguments(folder, input, size);
  if (!hesk_fuzz::checksWithoutErrors(args)) return 0;
  // The compile catches what it raises itself; anything else escaping it is
  // a finding.
  hesk_fuzz::InputRun run;
  velk::result_t r = compile(hesk_fuzz::compileContextOf(run), args);
  if (velk::failed(r)) return 0;
  if (!hesk_fuzz::readBack(args.vsmOutput)) hesk_fuzz::propertyFails("the .vsm written does not read again");
  if (size % 3 == 1 && !hesk_fuzz::readBack(args.quarnConfig))
    hesk_fuzz::propertyFails("the profiles.xml written does not read again");
  return 0;
}

// The compile's front end: the input is a small source tree (see
// fuzz_input.h) whose "main.xml" is read through the preprocessor, by the
// configuration reader and into the model, as a compile reads it, with no
// output opened. Most inputs stop here, so this target runs fastest over the
// code that sees the most varied input; `writers_fuzzer` takes the trees
// that check without errors on to the outputs. The input's length picks the
// product.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "cli/tool_main.h"
#include "commands/compile_pipeline.h"
#include "document_check.h"
#include "fuzz_input.h"
#include "quiet_run.h"

namespace {

using namespace app_core;

const Definitions kDefinitions = {{"A", "1"}, {"B", ""}, {"NAME", "n${A}"}};
// The golden cases mostly use the first product, the examples the second.
const char* const kProducts[] = {"QPX", "PRO"};

const CompileContext* context = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  registerFactoryTables();
  context = new CompileContext(makeCompileContext(hesk_fuzz::QuietRun::shared()));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  CompileArguments args;
  args.product = kProducts[(size / 3) % 2];
  args.definitions = kDefinitions;
  args.inputs = {hesk_fuzz::writeInput(data, size).mainFile};
  hesk_fuzz::InputRun run;
  CompileContext input = *context;
  input.reporter = input.counter = run.reporter();
  try {
    checkConfiguration(input, args);
  } catch (const std::exception&) {
    // A compile reports this as "Compilation failed"; anything else escaping
    // is a finding.
  }
  return 0;
}

// The compile's front end: the input is a small source tree (see
// fuzz_input.h) whose "main.xml" is read through the preprocessor, by the
// configuration reader and into the model, as a compile reads it, with no
// output opened. Most inputs stop here, so this target runs fastest over the
// code that sees the most varied input; `writers_fuzzer` takes the trees
// that check without errors on to the outputs. The input's length picks the
// product.
#include <cstddef>
#include <cstdint>

#include "cli/tool_main.h"
#include "compile_run.h"
#include "document_check.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  app_core::registerFactoryTables();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  hesk_fuzz::checksWithoutErrors(hesk_fuzz::compileArgumentsFor(hesk_fuzz::writeInput(data, size).mainFile, size));
  return 0;
}

// What the front-end and writers targets share: the definitions and product
// a tree is read with, and one set of compile factories per process.
#pragma once

#include <cstddef>
#include <string>

#include "commands/compile_pipeline.h"
#include "quiet_run.h"

namespace hesk_fuzz {

// A compile of `input` with the targets' definitions; the input's length
// picks the product. No outputs are named.
app_core::CompileArguments compileArgumentsFor(const std::string& input, size_t size);

// The process's compile factories with the reporter of one command run.
// The factory tables must be registered first.
app_core::CompileContext compileContextOf(const InputRun& run);

// Whether the tree reads and checks without errors, as a compile would
// check it before opening any output. An exception is a failed check: the
// compile reports it as "Compilation failed".
bool checksWithoutErrors(const app_core::CompileArguments& args);

}  // namespace hesk_fuzz

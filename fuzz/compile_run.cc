#include "compile_run.h"

#include <exception>

namespace hesk_fuzz {

using namespace app_core;

app_core::CompileArguments compileArgumentsFor(const std::string& input, size_t size) {
  static const Definitions kDefinitions = {{"A", "1"}, {"B", ""}, {"NAME", "n${A}"}};
  // The golden cases mostly use the first product, the examples the second.
  static const char* const kProducts[] = {"QPX", "PRO"};
  CompileArguments args;
  args.product = kProducts[(size / 3) % 2];
  args.definitions = kDefinitions;
  args.inputs = {input};
  return args;
}

CompileContext compileContextOf(const InputRun& run) {
  // Making the factories per input cost more than reading a small tree.
  static const CompileContext* factories = new CompileContext(makeCompileContext(QuietRun::shared()));
  CompileContext context = *factories;
  context.reporter = context.counter = run.reporter();
  return context;
}

bool checksWithoutErrors(const CompileArguments& args) {
  InputRun run;
  try {
    return checkConfiguration(compileContextOf(run), args);
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace hesk_fuzz

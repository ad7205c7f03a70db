#include "compiler/compile_pipeline.h"

namespace app_core {

velk::result_t compile(const CommandEnvironment&, const CompileArguments&) {
  return velk::errors::kNotImplemented;
}

}  // namespace app_core

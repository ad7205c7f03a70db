#include <iostream>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "cli/tool_main.h"

namespace {

// A run makes and drops millions of small nodes between large buffers (file
// text, printed documents, database pages). With glibc's fast bins each large
// request first sweeps every small free chunk back together, which took a
// tenth of a compile; without them small chunks are merged as they are
// freed, once.
void tuneAllocator() {
#if defined(__GLIBC__)
  mallopt(M_MXFAST, 0);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  tuneAllocator();
  app_core::installUserLocale();
  app_core::registerFactoryTables();
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return app_core::toolMain(arguments, std::cout, std::cerr);
}

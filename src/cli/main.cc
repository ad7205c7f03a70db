#include <iostream>

#include "cli/tool_main.h"

int main(int argc, char** argv) {
  app_core::installUserLocale();
  app_core::registerFactoryTables();
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return app_core::toolMain(arguments, std::cout, std::cerr);
}

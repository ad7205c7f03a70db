// The process around a command: locale, factory tables, parse, run, and the
// top-level handling of every exception.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace app_core {

// Makes the user's default locale global; an environment naming a locale
// that does not exist leaves the classic one.
void installUserLocale();

// Registers the three factory tables in their lookup order.
void registerFactoryTables();

// Parses and runs `arguments` (without the program name); returns the exit
// status. Framework exceptions exit 1, other exceptions 2.
int toolMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace app_core

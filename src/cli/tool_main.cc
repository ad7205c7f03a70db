#include "cli/tool_main.h"

#include <locale>
#include <new>
#include <stdexcept>

#include "cli/command_line_parser.h"
#include "cli/command_runner.h"
#include "kv/key_value_factory_table.h"
#include "schedule/compiler_factory_table.h"
#include "velk/system_factory_table.h"
#include "xmlfile/serialization_factory_table.h"

namespace app_core {

void installUserLocale() {
  try {
    // Numbers keep the classic form: thousands separators of a user locale
    // must never reach the outputs or the keys.
    std::locale user("");
    std::locale::global(std::locale(user, std::locale::classic(), std::locale::numeric));
  } catch (const std::runtime_error&) {
    std::locale::global(std::locale::classic());
  }
}

namespace {

// The serialization slot serves the XML storage factory and, behind it, the
// schedule serializer and values-free adapter factories of the compiler.
velk::result_t serializationAndCompilerTable(velk::IServiceLocator* locator, velk::clsid_t clsid,
                                             velk::IObjectFactory** out) {
  velk::result_t r = velk::serializationFactoryTable(locator, clsid, out);
  if (r != velk::errors::kNotImplemented) return r;
  return compilerFactoryTable(locator, clsid, out);
}

}  // namespace

void registerFactoryTables() {
  velk::registerFactoryTable(velk::FactoryTableSlot::kSerialization, &serializationAndCompilerTable);
  velk::registerFactoryTable(velk::FactoryTableSlot::kSystem, &velk::systemFactoryTable);
  velk::registerFactoryTable(velk::FactoryTableSlot::kKeyValue, &data_storage::keyValueFactoryTable);
}

int toolMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  try {
    CommandParameters parameters;
    command_line_options::parse(arguments, parameters, out);
    return exitStatus(run(parameters, out));
  } catch (const velk::Exception& e) {
    out.flush();
    err << "Exception: " << velk::chainDisplayText(e) << std::endl;
    return 1;
  } catch (const std::bad_alloc&) {
    // Memory running out is a failed run, not a command-line error.
    out.flush();
    err << "Exception: " << velk::frameworkText(velk::errors::kOutOfMemory) << std::endl;
    return exitStatus(velk::errors::kOutOfMemory);
  } catch (const std::exception& e) {
    out.flush();
    err << "Exception: " << e.what() << std::endl;
    return 2;
  } catch (...) {
    out.flush();
    err << "Exception: " << velk::frameworkText(velk::errors::kUnknownException) << std::endl;
    return 1;
  }
}

}  // namespace app_core

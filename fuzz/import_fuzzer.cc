// The exchange-file import: the input is the exchange file (with further
// files for its includes, see fuzz_input.h). It is read through the
// preprocessor chain into a fresh in-memory document and imported into a
// scratch database. Most inputs are imported into a copy of an empty
// database made once: creating the schema costs more than a small import,
// and is the same every time. One in eight starts without a database.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/tool_main.h"
#include "commands/exchange_commands.h"
#include "fuzz_input.h"
#include "quiet_run.h"
#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_copy.h"
#include "xmlfile/open_xml_file.h"

namespace {

using namespace app_core;

void copyThroughChain(const CommandEnvironment& env, const std::string& input) {
  auto factory = velk::queryInterface<velk::IXmlStorageFactory>(env.xmlStorageFactory);
  auto chain = helpers::makePreprocessorChain(velk::Ref<helpers::StorageErrorReporter>(env.reporter),
                                              env.xmlStorageFactory, {}, "");
  auto root = helpers::openXmlFile(factory.get(), input, env.reporter, nullptr);
  if (!root) return;
  velk::Ref<velk::IStorage> copy;
  if (velk::failed(factory->CreateDocument("root", nullptr, 0, copy.put()))) __builtin_trap();
  helpers::copyStorage(velk::make<helpers::FilteredStorage>(root, chain).get(), copy.get());
}

// The bytes of a database that an empty exchange file was imported into.
std::string emptyDatabase;

std::string makeEmptyDatabase() {
  const char kEmpty[] = "<root />";
  auto [folder, input] = hesk_fuzz::writeInput(reinterpret_cast<const uint8_t*>(kEmpty), sizeof kEmpty - 1);
  std::string database = folder + "/empty.kvdb";
  hesk_fuzz::QuietRun run;
  if (velk::failed(importDatabase(run.environment(), input, database))) __builtin_trap();
  std::ifstream file(database, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

void writeDatabase(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  registerFactoryTables();
  emptyDatabase = makeEmptyDatabase();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto [folder, input] = hesk_fuzz::writeInput(data, size);
  hesk_fuzz::QuietRun run;
  const CommandEnvironment& env = run.environment();
  try {
    copyThroughChain(env, input);
  } catch (const velk::Exception&) {
    // A read failure inside a filter ends the operation.
  }
  std::string database = folder + "/db/storage.kvdb";
  if (hesk_fuzz::inputHash(data, size) % 8 != 0) writeDatabase(database, emptyDatabase);
  try {
    importDatabase(env, input, database);
  } catch (const velk::Exception&) {
    // Store failures surface as framework exceptions, as on the command line.
  }
  return 0;
}

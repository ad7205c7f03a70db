// The exchange-file import: the input is the exchange file (with further
// files for its includes, see fuzz_input.h), imported into a scratch
// database: a copy of an empty one for 31 inputs in 32, none for the others
// (creating the schema, with its syncs, costs three small imports and is the
// same every time). The database is then exported, and what the export holds
// must be what the import was given:
// - an import that succeeded without errors stored exactly the records of
//   the file as the preprocessor shows it (the last "key" of a name wins, a
//   "key" without "root" removes), each tree as its stored form reads again:
//   a text is stored as printed, and a reader of the record keeps no
//   whitespace around or between its words that the file kept with a
//   character reference or a CDATA section;
// - an import that raised stored nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "cli/tool_main.h"
#include "commands/exchange_commands.h"
#include "document_check.h"
#include "fuzz_input.h"
#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_copy.h"
#include "quiet_run.h"
#include "scratch_stores.h"
#include "tree_text.h"
#include "xmlfile/file_io.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/storage_helpers.h"

namespace {

using namespace app_core;
using Records = std::map<std::string, std::string>;

// A null reporter: the import reports what it finds itself.
velk::Ref<velk::IStorage> preprocessedCopy(const CommandEnvironment& env, const std::string& input) {
  auto factory = velk::queryInterface<velk::IXmlStorageFactory>(env.xmlStorageFactory);
  auto quiet = velk::make<helpers::StorageErrorReporterProxy>(nullptr);
  auto root = helpers::openXmlFile(factory.get(), input, quiet.get(), nullptr);
  if (!root) return {};
  auto chain = helpers::makePreprocessorChain(velk::Ref<helpers::StorageErrorReporter>(quiet), factory.get(), {}, "");
  velk::Ref<velk::IStorage> copy;
  if (velk::failed(factory->CreateDocument("root", nullptr, 0, copy.put()))) __builtin_trap();
  helpers::copyStorage(velk::make<helpers::FilteredStorage>(root, chain).get(), copy.get());
  return copy;
}

std::string keyName(velk::IStorage* key) {
  std::string name;
  velk::helpers::readText(key, "name", name);
  return name;
}

// The tree of `tree` as a reader of its stored record sees it: copied into
// a new document (by the preprocessor's copy, not import's own), printed
// into the file `scratch`, and parsed again.
std::string storedTreeText(velk::IStorage* tree, const std::string& scratch) {
  auto factory = velk::queryInterface<velk::IXmlStorageFactory>(hesk_fuzz::QuietRun::shared().xmlStorageFactory);
  velk::Ref<velk::IIO> io;
  velk::Ref<velk::IStorage> document;
  if (velk::failed(velk::FileIo::open(scratch, velk::FileIo::Mode::kRewrite, io)) ||
      velk::failed(factory->CreateDocument("root", io.get(), 0, document.put())))
    __builtin_trap();
  helpers::copyStorage(tree, document.get());
  velk::checkResult(document->Flush(), {"fuzz/import", 3});
  io->Seek(0);
  velk::Ref<velk::IStorage> stored;
  velk::XmlParseError error;
  if (velk::failed(factory->ParseIo(io.get(), velk::kXmlReadOnlyOption, stored.put(), &error)))
    hesk_fuzz::propertyFails("a record's printed tree does not parse: " + error.description);
  return hesk_fuzz::treeText(stored.get());
}

// The records the "key" children of `root` stand for, in the import's rules;
// with a `scratch` file, each tree as its stored record reads.
Records recordsOf(velk::IStorage* root, bool lastWins, const std::string& scratch = {}) {
  Records records;
  uint32_t count = 0;
  velk::checkResult(root->GetNodesCount(&count), {"fuzz/import", 1});
  for (uint32_t i = 0; i < count; ++i) {
    velk::Ref<velk::IStorage> child;
    velk::checkResult(root->GetNode(i, child.put()), {"fuzz/import", 2});
    if (velk::helpers::nodeName(child.get()) != "key") continue;
    std::string name = keyName(child.get());
    velk::Ref<velk::IStorage> tree;
    bool hasTree = velk::succeeded(child->GetNode("root", tree.put())) && tree;
    if (!lastWins && records.count(name)) hesk_fuzz::propertyFails("the export holds the key \"" + name + "\" twice");
    if (hasTree)
      records[name] = scratch.empty() ? hesk_fuzz::treeText(tree.get()) : storedTreeText(tree.get(), scratch);
    else
      records.erase(name);
  }
  return records;
}

// The records of the input as the import should store them; none when the
// preprocessor cannot show the file. `folder` takes a scratch file.
std::optional<Records> expectedRecords(const CommandEnvironment& env, const std::string& input,
                                       const std::string& folder) {
  try {
    velk::Ref<velk::IStorage> copy = preprocessedCopy(env, input);
    if (!copy) return std::nullopt;
    return recordsOf(copy.get(), true, folder + "/expected.xml");
  } catch (const velk::Exception&) {
    return std::nullopt;
  }
}

Records exportedRecords(const std::string& database, const std::string& xml) {
  hesk_fuzz::InputRun run;
  try {
    if (velk::failed(exportDatabase(run.environment(), database, xml)))
      hesk_fuzz::propertyFails("the export of an import failed");
  } catch (const velk::Exception& e) {
    hesk_fuzz::propertyFails(std::string("the export of an import raised: ") + e.what());
  }
  if (run.errorCount() != 0) hesk_fuzz::propertyFails("the export of an import reported errors");
  auto root = hesk_fuzz::readBack(xml);
  if (!root) hesk_fuzz::propertyFails("the export of an import does not read again");
  return recordsOf(root.get(), false);
}

std::string describe(const Records& records) {
  std::string text;
  for (const auto& [key, tree] : records) text += "\n  \"" + key + "\": " + tree;
  return text;
}

// The bytes of a database that an empty exchange file was imported into.
std::string emptyDatabase;

std::string makeEmptyDatabase() {
  const char kEmpty[] = "<root />";
  auto [folder, input] = hesk_fuzz::writeInput(reinterpret_cast<const uint8_t*>(kEmpty), sizeof kEmpty - 1);
  std::string database = folder + "/empty.kvdb";
  if (velk::failed(importDatabase(hesk_fuzz::InputRun().environment(), input, database))) __builtin_trap();
  std::string bytes;
  if (!hesk_fuzz::readFile(database, bytes)) __builtin_trap();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  hesk_fuzz::useScratchStores();
  registerFactoryTables();
  emptyDatabase = makeEmptyDatabase();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  hesk_fuzz::ProcessorTimeLimit limit;
  auto [folder, input] = hesk_fuzz::writeInput(data, size);
  std::string database = folder + "/db/storage.kvdb";
  if (hesk_fuzz::inputHash(data, size) % 32 != 0) hesk_fuzz::writeFile(database, emptyDatabase);
  hesk_fuzz::InputRun run;
  bool raised = false;
  velk::result_t r = velk::errors::kOk;
  try {
    r = importDatabase(run.environment(), input, database);
  } catch (const velk::Exception&) {
    // Store failures surface as framework exceptions, as on the command line.
    raised = true;
  }
  bool clean = !raised && r == velk::errors::kOk && run.errorCount() == 0;
  if (!clean && !raised) return 0;
  if (!std::filesystem::exists(database)) return 0;
  Records exported = exportedRecords(database, folder + "/out/export.xml");
  if (raised && !exported.empty()) hesk_fuzz::propertyFails("an import that raised stored records:" + describe(exported));
  // The input's files are as the import found them: what it should have
  // stored is worked out only for an import that says it stored it all.
  std::optional<Records> expected;
  if (clean) expected = expectedRecords(hesk_fuzz::QuietRun::shared(), input, folder);
  if (clean && expected && exported != *expected)
    hesk_fuzz::propertyFails("import then export gave other records; expected:" + describe(*expected) +
                             "\nexported:" + describe(exported));
  return 0;
}

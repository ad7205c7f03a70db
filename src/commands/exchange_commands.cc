#include "commands/exchange_commands.h"

#include <filesystem>

#include "console/storage_error_reporter_proxy.h"
#include "kv/key_value_factory_interfaces.h"
#include "kv/open_command_database.h"
#include "kv/store_files.h"
#include "kv/transaction_indexed_key_value_storage.h"
#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "records/exchange_export.h"
#include "records/exchange_import.h"
#include "xmlfile/open_output_document.h"
#include "xmlfile/open_xml_file.h"

namespace app_core {

using velk::Ref;

namespace {

constexpr velk::SourcePos kFlushPos{"components/vorn_config_compiler/source/exporter", 120};
constexpr velk::SourcePos kCommitPos{"components/vorn_config_compiler/source/exporter", 268};

Ref<data_storage::IKeyValueStorageFactory> databaseFactory(const CommandEnvironment& env) {
  return velk::createObject<data_storage::IKeyValueStorageFactory>(env.locator,
                                                                   data_storage::class_ids::kKeyValueStorageManager);
}

Ref<velk::IXmlStorageFactory> xmlFactory(const CommandEnvironment& env) {
  auto factory = velk::queryInterface<velk::IXmlStorageFactory>(env.xmlStorageFactory);
  return factory ? factory : Ref<velk::IXmlStorageFactory>(velk::make<velk::XmlStorageFactory>());
}

// The exchange file as the compiler would read it: through the preprocessor
// with no definitions and no product. None when it could not be opened or
// parsed (that has been reported). Including `database` is an error.
Ref<helpers::IXmlFileStorage> readExchangeFile(const CommandEnvironment& env, velk::IXmlStorageFactory* factory,
                                               const std::string& path, const std::string& database) {
  Ref<helpers::IXmlFileStorage> root = helpers::openXmlFile(factory, path, env.reporter, nullptr);
  if (!root) return {};
  auto chain = helpers::makePreprocessorChain(Ref<helpers::StorageErrorReporter>(env.reporter), factory, {}, {},
                                              {path}, {database});
  // Import goes once through the records, forgetting each one stored.
  return velk::make<helpers::FilteredStorage>(std::move(root), std::move(chain), helpers::ChildListing::kIndexes);
}

// Export only reads, but opening a database puts it into writable mode; one
// that was in read-only mode is put back into it once the export has let go
// of it, so that exporting never undoes what import or compile left.
class ReadOnlyModeKeeper {
 public:
  ReadOnlyModeKeeper(data_storage::IKeyValueStorageFactory* factory, helpers::StorageErrorReporter* reporter,
                     std::string path)
      : manager_(velk::queryInterface<data_storage::IKeyValueStorageManager>(factory)),
        reporter_(reporter),
        path_(std::move(path)) {
    std::error_code error;
    bool readOnly = false;
    // Asking the manager opens the store once more; a file whose header
    // says WAL is known not to be in read-only mode without it.
    if (manager_ && std::filesystem::is_regular_file(path_, error) && !data_storage::hasWalHeader(path_) &&
        velk::succeeded(manager_->IsReadOnly(path_, readOnly)))
      restore_ = readOnly;
  }
  ~ReadOnlyModeKeeper() {
    if (!restore_ || velk::succeeded(manager_->ChangeJournalMode(path_, true))) return;
    if (reporter_) reporter_->ReportError(nullptr, "failed to set readonly mode for database \"" + path_ + "\"");
  }
  ReadOnlyModeKeeper(const ReadOnlyModeKeeper&) = delete;
  ReadOnlyModeKeeper& operator=(const ReadOnlyModeKeeper&) = delete;

 private:
  Ref<data_storage::IKeyValueStorageManager> manager_;
  helpers::StorageErrorReporter* reporter_;
  std::string path_;
  bool restore_ = false;
};

uint32_t errorCount(const CommandEnvironment& env) { return env.counter ? env.counter->errorCount() : 0; }

}  // namespace

velk::result_t exportDatabase(const CommandEnvironment& env, const std::string& database, const std::string& xml) {
  auto kvFactory = databaseFactory(env);
  ReadOnlyModeKeeper keeper(kvFactory.get(), env.reporter, database);
  Ref<data_storage::IIndexedKeyValueStorage> records =
      openCommandDatabase(kvFactory.get(), env.reporter, database, DatabaseUse::kRead);
  auto factory = xmlFactory(env);
  OutputDocument document = openOutputDocument(factory.get(), xml, "root");
  // A new file is only written: it is printed as the records are copied,
  // without a tree of them.
  Ref<velk::StreamedXmlStorage> print;
  if (document.created) print = velk::StreamedXmlStorage::createDocument("root");
  uint32_t errorsBefore = errorCount(env);
  exportRecords(print ? print.get() : document.root.get(), records.get(), factory.get(), env.reporter);
  // Written here rather than at release, where a failed write goes unheard;
  // a failure leaves the file as it was.
  if (print) {
    saveOutputDocument(document, *print, kFlushPos, "Flush");
  } else {
    saveOutputDocument(document, kFlushPos, "Flush");
  }
  // The records that could be written are; an export that had to skip some
  // is no copy of the database, and says so by failing.
  return errorCount(env) == errorsBefore ? velk::errors::kOk : velk::errors::kUnspecified;
}

velk::result_t importDatabase(const CommandEnvironment& env, const std::string& xml, const std::string& database) {
  auto kvFactory = databaseFactory(env);
  Ref<data_storage::IIndexedKeyValueStorage> records =
      openCommandDatabase(kvFactory.get(), env.reporter, database, DatabaseUse::kWrite);
  auto factory = xmlFactory(env);
  uint32_t errorsBefore = errorCount(env);
  Ref<helpers::IXmlFileStorage> root = readExchangeFile(env, factory.get(), xml, database);
  if (!root) return velk::errors::kFileNotFound;
  auto tracer = velk::getService<velk::ITracer>(env.locator);
  try {
    importRecords(root.get(), records.get(), tracer.get(), factory.get(), env.reporter);
  } catch (...) {
    // A run that fails half way stores nothing: committing what it had
    // written could leave a record replaced by half of its new tree.
    rollbackCommandDatabase(records.get());
    throw;
  }
  // An error reported on the way (a file of another format or version, a
  // missing include, an unknown definition left as literal text) fails the
  // run as it fails compile, and nothing of it is stored.
  if (errorCount(env) != errorsBefore) {
    rollbackCommandDatabase(records.get());
    return velk::errors::kUnspecified;
  }
  // Committed here rather than at release, where a failed commit (a full
  // disk, say) goes unheard and the run would claim records it never stored.
  velk::checkResult(commitCommandDatabase(records.get()), kCommitPos, "CommitTransaction");
  return velk::errors::kOk;
}

}  // namespace app_core

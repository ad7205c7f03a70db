// Helpers of the database writer tests: real databases, models built from
// configuration text, and reads of the stored records.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "front/configuration_model.h"
#include "kv/key_value_storage.h"
#include "schedule/struct_serializer.h"
#include "schedule/values_free_storage_factory.h"
#include "temp_directory.h"
#include "writers/db/storage_context.h"

namespace app_core::testing {

// One database file opened as a store, with the context the writers use.
class Database {
 public:
  explicit Database(std::string path);
  // The record of `key` as the store gives it; none when absent.
  std::optional<std::string> record(const std::string& key) const;
  // Every key, in the order of the records' ids.
  std::vector<std::string> keys() const;
  // Lets go of the store so that the file can be read by other means.
  void close();
  // Opens the file again, keeping what it holds.
  void reopen();

  const std::string& path() const { return path_; }
  const StorageContext& context() const { return context_; }

 private:
  std::string path_;
  StorageContext context_;
};

// A record read straight from the database file with SQLite, bypassing the
// store; none when absent.
std::optional<std::string> readRecordWithSqlite(const std::string& path, const std::string& key);

// Builds models from configuration documents written into a folder, read
// as the compiler reads its input files.
class ModelSource {
 public:
  explicit ModelSource(const TempDirectory& dir);
  // `body` goes inside the root element; the model must build without errors.
  ConfigurationModel build(const std::string& body);

  velk::Ref<velk::IStructSerializer> serializer;
  velk::Ref<velk::IValuesFreeStorageFactory> adapters;

 private:
  const TempDirectory& dir_;
  int documents_ = 0;
};

size_t occurrences(const std::string& text, const std::string& part);

// Builds a record document from its lines: four blanks per level and CR LF
// after each line, as the stored documents are printed.
std::string document(const std::vector<std::string>& lines);

}  // namespace app_core::testing

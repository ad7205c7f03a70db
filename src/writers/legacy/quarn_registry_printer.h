// Prints a quarn property map as registry text: one "[path]" section per
// key with its typed values, the keys below it following with the path
// extended by "\" and their names. Lines end with a line feed alone.
#pragma once

#include <string>
#include <vector>

#include "console/storage_error_reporter.h"
#include "velk/storage.h"

namespace app_core {

class QuarnRegistryPrinter {
 public:
  explicit QuarnRegistryPrinter(helpers::StorageErrorReporter* reporter) : reporter_(reporter) {}

  // Appends the text of `root`, printed under `path`, and of every key below
  // it to `text`. A value that has no registry form is reported and ends
  // the printing with a failure.
  velk::result_t print(velk::IStorage* root, const std::string& path, std::string& text);

 private:
  struct Section {
    velk::Ref<velk::IStorage> node;
    std::string path;
  };

  velk::result_t printSection(const Section& section, std::vector<Section>& keys, std::string& text);
  velk::result_t printValue(velk::IStorage* node, const std::string& element, std::string& text);
  velk::result_t printNumber(velk::IStorage* node, const std::string& name, std::string& text);
  velk::result_t printBinary(velk::IStorage* node, const std::string& name, std::string& text);

  helpers::StorageErrorReporter* reporter_;
};

}  // namespace app_core

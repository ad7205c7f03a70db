// The value kinds of configuration attributes: each has the grammar text that
// messages show and a parse rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "console/storage_error_reporter.h"
#include "xmlfile/xml_file_storage.h"

namespace app_core {

// The attribute being parsed: the value at `index` of `node`.
struct AttributeSource {
  helpers::IXmlFileStorage* node;
  uint32_t index;
  helpers::StorageErrorReporter* reporter;
};

enum class ParseOutcome {
  kRejected,
  // Rejected, but the attribute counts as present (timeout and priority).
  kRejectedAfterRead,
  kAccepted,
};

template <class T>
struct ValueKind {
  std::string_view grammar;
  ParseOutcome (*parse)(const AttributeSource& source, T& value);
};

namespace kinds {
extern const ValueKind<std::string> kString;
extern const ValueKind<uint32_t> kNumber;
extern const ValueKind<bool> kBoolean;
extern const ValueKind<uint32_t> kTimeout;
extern const ValueKind<uint8_t> kPriority;
extern const ValueKind<uint32_t> kAccessibility;
extern const ValueKind<uint32_t> kLevel;
extern const ValueKind<uint32_t> kContainerType;
extern const ValueKind<std::string> kRegistryPath;
extern const ValueKind<std::string> kCategoryLocation;
}  // namespace kinds

// The rule of the category location kind: empty, or an optional "%Bases%"
// or "%Data%" prefix followed by text without "%".
bool isValidCategoryLocation(std::string_view text);

}  // namespace app_core

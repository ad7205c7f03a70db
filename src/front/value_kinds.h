// The value kinds of configuration attributes: each has the grammar text that
// messages show and a parse rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The texts a kind accepts, for tools that check values without reading
// them (the schema): its keywords, then a pattern (XML Schema regular
// expression) of the other texts it accepts. A kind with neither accepts any
// text.
struct ValueSyntax {
  std::vector<std::string_view> keywords;
  std::string otherTexts;
};

template <class T>
struct ValueKind {
  std::string_view grammar;
  ParseOutcome (*parse)(const AttributeSource& source, T& value);
  ValueSyntax syntax;
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

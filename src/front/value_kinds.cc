#include "front/value_kinds.h"

#include "front/config_number.h"
#include "xmlfile/node_names.h"

namespace app_core {
namespace {

using Outcome = ParseOutcome;

bool readText(const AttributeSource& source, std::string& text) {
  return velk::succeeded(readTextAt(source.node, source.index, text));
}

helpers::IFileLocation* locationOf(const AttributeSource& source) { return source.node->GetLocation(); }

// The keyword's value, or the storage's own conversion of the text.
template <class T>
Outcome keywordOrStorageNumber(const AttributeSource& source, T& value,
                               std::initializer_list<std::pair<std::string_view, T>> keywords,
                               uint32_t storageType) {
  std::string text;
  if (!readText(source, text)) return Outcome::kRejected;
  for (const auto& [keyword, keywordValue] : keywords) {
    if (text == keyword) {
      value = keywordValue;
      return Outcome::kAccepted;
    }
  }
  uint64_t bits = 0;
  if (velk::failed(readNumberAt(source.node, source.index, storageType, bits)))
    return Outcome::kRejectedAfterRead;
  value = static_cast<T>(bits);
  return Outcome::kAccepted;
}

// One of a fixed set of keywords, nothing else.
template <class T>
Outcome keywordOnly(const AttributeSource& source, T& value,
                    std::initializer_list<std::pair<std::string_view, T>> keywords) {
  std::string text;
  if (!readText(source, text)) return Outcome::kRejected;
  for (const auto& [keyword, keywordValue] : keywords) {
    if (text == keyword) {
      value = keywordValue;
      return Outcome::kAccepted;
    }
  }
  return Outcome::kRejected;
}

Outcome parseString(const AttributeSource& source, std::string& value) {
  return readText(source, value) ? Outcome::kAccepted : Outcome::kRejected;
}

Outcome parseNumber(const AttributeSource& source, uint32_t& value) {
  std::string text;
  if (!readText(source, text)) return Outcome::kRejected;
  auto number = parseConfigNumber(text);
  if (!number) return Outcome::kRejected;
  value = *number;
  return Outcome::kAccepted;
}

Outcome parseBoolean(const AttributeSource& source, bool& value) {
  return keywordOnly<bool>(source, value, {{"true", true}, {"false", false}});
}

Outcome parseTimeout(const AttributeSource& source, uint32_t& value) {
  return keywordOrStorageNumber<uint32_t>(source, value, {{"infinite", 0xFFFFFFFFu}}, velk::kTypeUInt32);
}

Outcome parsePriority(const AttributeSource& source, uint8_t& value) {
  return keywordOrStorageNumber<uint8_t>(
      source, value,
      {{"private", 255}, {"lowest", 254}, {"low", 192}, {"normal", 128}, {"high", 64}, {"highest", 1}},
      velk::kTypeUInt8);
}

Outcome parseAccessibility(const AttributeSource& source, uint32_t& value) {
  return keywordOnly<uint32_t>(source, value, {{"private", 1}, {"public", 0}});
}

Outcome parseLevel(const AttributeSource& source, uint32_t& value) {
  Outcome outcome = keywordOrStorageNumber<uint32_t>(source, value, {{"default", 0}, {"low", 1}, {"high", 2}},
                                                     velk::kTypeUInt32);
  return outcome == Outcome::kAccepted ? outcome : Outcome::kRejected;
}

Outcome parseContainerType(const AttributeSource& source, uint32_t& value) {
  return keywordOnly<uint32_t>(
      source, value, {{"storage", 0}, {"native_file_system", 1}, {"readonly_filesystem_storage", 2}});
}

Outcome parseRegistryPath(const AttributeSource& source, std::string& value) {
  std::string text;
  if (!readText(source, text)) return Outcome::kRejected;
  if (text.find('\\') != std::string::npos) {
    source.reporter->ReportError(locationOf(source), "Invalid char: '\\' in quarn registry path");
    return Outcome::kRejected;
  }
  value = std::move(text);
  return Outcome::kAccepted;
}

Outcome parseCategoryLocation(const AttributeSource& source, std::string& value) {
  std::string text;
  if (!readText(source, text)) return Outcome::kRejected;
  if (!isValidCategoryLocation(text)) {
    source.reporter->ReportError(locationOf(source),
                                 "Update category location may contain only %Bases% or %Data% variables.");
    return Outcome::kRejected;
  }
  value = std::move(text);
  return Outcome::kAccepted;
}

}  // namespace

bool isValidCategoryLocation(std::string_view text) {
  for (std::string_view prefix : {"%Bases%", "%Data%"}) {
    if (text.substr(0, prefix.size()) == prefix) {
      text.remove_prefix(prefix.size());
      break;
    }
  }
  return text.find('%') == std::string_view::npos;
}

namespace kinds {
const ValueKind<std::string> kString = {"string8_t", &parseString};
const ValueKind<uint32_t> kNumber = {"uint32_t", &parseNumber};
const ValueKind<bool> kBoolean = {"'true' | 'false'", &parseBoolean};
const ValueKind<uint32_t> kTimeout = {"uint32 | 'infinite'", &parseTimeout};
const ValueKind<uint8_t> kPriority = {"uint8 | 'private' | 'lowest' | 'low' | 'normal' | 'high' | 'highest'",
                                      &parsePriority};
const ValueKind<uint32_t> kAccessibility = {"'public' | 'private'", &parseAccessibility};
const ValueKind<uint32_t> kLevel = {"uint32 | 'default' | 'high' | 'low'", &parseLevel};
const ValueKind<uint32_t> kContainerType = {
    "'native_file_system' | 'storage' | 'readonly_filesystem_storage'", &parseContainerType};
const ValueKind<std::string> kRegistryPath = {"slash/separated/path", &parseRegistryPath};
const ValueKind<std::string> kCategoryLocation = {"string8_t", &parseCategoryLocation};
}  // namespace kinds

}  // namespace app_core

#include "front/value_kinds.h"

#include <span>

#include "front/config_number.h"
#include "xmlfile/node_names.h"
#include "xmlfile/value_text.h"

namespace app_core {
namespace {

using Outcome = ParseOutcome;

template <class T>
using Keywords = std::span<const std::pair<std::string_view, T>>;

constexpr std::pair<std::string_view, bool> kBooleanWords[] = {{"true", true}, {"false", false}};
constexpr std::pair<std::string_view, uint32_t> kTimeoutWords[] = {{"infinite", 0xFFFFFFFFu}};
constexpr std::pair<std::string_view, uint8_t> kPriorityWords[] = {
    {"private", 255}, {"lowest", 254}, {"low", 192}, {"normal", 128}, {"high", 64}, {"highest", 1}};
constexpr std::pair<std::string_view, uint32_t> kAccessibilityWords[] = {{"private", 1}, {"public", 0}};
constexpr std::pair<std::string_view, uint32_t> kLevelWords[] = {{"default", 0}, {"low", 1}, {"high", 2}};
constexpr std::pair<std::string_view, uint32_t> kContainerTypeWords[] = {
    {"storage", 0}, {"native_file_system", 1}, {"readonly_filesystem_storage", 2}};

template <class T>
std::vector<std::string_view> wordsOf(Keywords<T> keywords) {
  std::vector<std::string_view> words;
  for (const auto& [word, value] : keywords) words.push_back(word);
  return words;
}

bool readText(const AttributeSource& source, std::string& text) {
  return velk::succeeded(readTextAt(source.node, source.index, text));
}

helpers::IFileLocation* locationOf(const AttributeSource& source) { return source.node->GetLocation(); }

// The keyword's value, or the storage's own conversion of the text.
template <class T>
Outcome keywordOrStorageNumber(const AttributeSource& source, T& value,
                               Keywords<T> keywords, uint32_t storageType) {
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
Outcome keywordOnly(const AttributeSource& source, T& value, Keywords<T> keywords) {
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
  return keywordOnly<bool>(source, value, kBooleanWords);
}

Outcome parseTimeout(const AttributeSource& source, uint32_t& value) {
  return keywordOrStorageNumber<uint32_t>(source, value, kTimeoutWords, velk::kTypeUInt32);
}

Outcome parsePriority(const AttributeSource& source, uint8_t& value) {
  return keywordOrStorageNumber<uint8_t>(source, value, kPriorityWords, velk::kTypeUInt8);
}

Outcome parseAccessibility(const AttributeSource& source, uint32_t& value) {
  return keywordOnly<uint32_t>(source, value, kAccessibilityWords);
}

Outcome parseLevel(const AttributeSource& source, uint32_t& value) {
  Outcome outcome = keywordOrStorageNumber<uint32_t>(source, value, kLevelWords, velk::kTypeUInt32);
  return outcome == Outcome::kAccepted ? outcome : Outcome::kRejected;
}

Outcome parseContainerType(const AttributeSource& source, uint32_t& value) {
  return keywordOnly<uint32_t>(source, value, kContainerTypeWords);
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
const ValueKind<std::string> kString = {"string8_t", &parseString, {}};
const ValueKind<uint32_t> kNumber = {"uint32_t", &parseNumber, {{}, std::string(kConfigNumberPattern)}};
const ValueKind<bool> kBoolean = {"'true' | 'false'", &parseBoolean, {wordsOf<bool>(kBooleanWords), {}}};
const ValueKind<uint32_t> kTimeout = {"uint32 | 'infinite'", &parseTimeout,
                                      {wordsOf<uint32_t>(kTimeoutWords), velk::xml::unsignedTextPattern(32)}};
const ValueKind<uint8_t> kPriority = {"uint8 | 'private' | 'lowest' | 'low' | 'normal' | 'high' | 'highest'",
                                      &parsePriority,
                                      {wordsOf<uint8_t>(kPriorityWords), velk::xml::unsignedTextPattern(8)}};
const ValueKind<uint32_t> kAccessibility = {"'public' | 'private'", &parseAccessibility,
                                            {wordsOf<uint32_t>(kAccessibilityWords), {}}};
const ValueKind<uint32_t> kLevel = {"uint32 | 'default' | 'high' | 'low'", &parseLevel,
                                    {wordsOf<uint32_t>(kLevelWords), velk::xml::unsignedTextPattern(32)}};
const ValueKind<uint32_t> kContainerType = {"'native_file_system' | 'storage' | 'readonly_filesystem_storage'",
                                            &parseContainerType, {wordsOf<uint32_t>(kContainerTypeWords), {}}};
const ValueKind<std::string> kRegistryPath = {"slash/separated/path", &parseRegistryPath, {{}, "[^\\\\]*"}};
const ValueKind<std::string> kCategoryLocation = {"string8_t", &parseCategoryLocation,
                                                  {{}, "(%Bases%|%Data%)?[^%]*"}};
}  // namespace kinds

}  // namespace app_core

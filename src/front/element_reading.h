// The two readers every element reader is built from: the attribute reader,
// driven by a table of attribute descriptors, and the child reader, driven by
// a table of child element descriptors.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "front/value_kinds.h"

namespace app_core {

struct AttributeDescriptor {
  std::string_view name;
  std::string_view grammar;
  bool optional = false;
  bool seen = false;
  // Parses the attribute into the descriptor's target.
  std::function<ParseOutcome(const AttributeSource&)> parse;

  // "name (optional) = grammar", as messages show it.
  std::string description() const;
};

using AttributeTable = std::vector<AttributeDescriptor>;

template <class T>
AttributeDescriptor required(std::string_view name, const ValueKind<T>& kind, T& target) {
  return {name, kind.grammar, false, false, [&kind, &target](const AttributeSource& source) {
            T value{};
            ParseOutcome outcome = kind.parse(source, value);
            if (outcome == ParseOutcome::kAccepted) target = std::move(value);
            return outcome;
          }};
}

template <class T>
AttributeDescriptor optional(std::string_view name, const ValueKind<T>& kind, std::optional<T>& target) {
  return {name, kind.grammar, true, false, [&kind, &target](const AttributeSource& source) {
            T value{};
            ParseOutcome outcome = kind.parse(source, value);
            if (outcome != ParseOutcome::kRejected) target = std::move(value);
            return outcome;
          }};
}

// Reads every attribute of `node` through `table`, reporting unexpected,
// duplicate, malformed and missing attributes at the node's location.
void readAttributes(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                    AttributeTable& table);

// "Expected:" or "Expected only one of: " lists: a line feed, four blanks
// and the description of each descriptor.
std::string descriptionList(const AttributeTable& table);

struct ChildElementDescriptor {
  std::string_view name;
  std::function<void(helpers::IXmlFileStorage* child)> read;
};

using ChildTable = std::vector<ChildElementDescriptor>;

// Hands each child of `node` to the entry of its name; reports the others.
void readChildren(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                  const ChildTable& table);

// For elements that may occur once per parent: false, after reporting the
// second occurrence, when `earlier` already holds the first.
template <class Slot>
bool acceptSingle(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* child,
                  std::string_view name, const std::optional<Slot>& earlier);

bool reportRepeated(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* child,
                    std::string_view name, helpers::IFileLocation* earlierLocation);

template <class Slot>
bool acceptSingle(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* child,
                  std::string_view name, const std::optional<Slot>& earlier) {
  return !earlier || reportRepeated(reporter, child, name, earlier->location.get());
}

// "XmlStorage error: " and the text of the failing code.
void reportStorageError(helpers::StorageErrorReporter* reporter, helpers::IFileLocation* location,
                        velk::result_t r);

}  // namespace app_core

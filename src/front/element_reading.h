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
  // The texts the kind accepts.
  const ValueSyntax* syntax = nullptr;
  // Set for an attribute that is still read but warned about: the advice
  // that follows the warning's first part (may be empty).
  std::optional<std::string_view> deprecation;

  // "name (optional) = grammar", as messages show it.
  std::string description() const;
  // "Attribute 'name' is deprecated", with ", advice" when there is advice.
  std::string deprecationWarning() const;
};

using AttributeTable = std::vector<AttributeDescriptor>;

// `descriptor`, marked deprecated with `advice`.
AttributeDescriptor deprecated(AttributeDescriptor descriptor, std::string_view advice = {});

// The descriptor of `name`, which the table must hold.
const AttributeDescriptor& descriptorNamed(const AttributeTable& table, std::string_view name);

template <class T>
AttributeDescriptor required(std::string_view name, const ValueKind<T>& kind, T& target) {
  return {name, kind.grammar, false, false, [&kind, &target](const AttributeSource& source) {
            T value{};
            ParseOutcome outcome = kind.parse(source, value);
            if (outcome == ParseOutcome::kAccepted) target = std::move(value);
            return outcome;
          },
          &kind.syntax, std::nullopt};
}

template <class T>
AttributeDescriptor optional(std::string_view name, const ValueKind<T>& kind, std::optional<T>& target) {
  return {name, kind.grammar, true, false, [&kind, &target](const AttributeSource& source) {
            T value{};
            ParseOutcome outcome = kind.parse(source, value);
            if (outcome != ParseOutcome::kRejected) target = std::move(value);
            return outcome;
          },
          &kind.syntax, std::nullopt};
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
// The same for a long list read once: `node` may let go of each child when
// it has been read, so what nothing kept is freed as the reader goes.
void readChildrenOnce(helpers::StorageErrorReporter* reporter, helpers::IXmlFileStorage* node,
                      const ChildTable& table);

// Offered by a node that asks for the reader's tables instead of being read
// (the schema generator walks the reader with such nodes): readAttributes
// and readChildren hand their tables to it and read nothing.
struct IReaderTableProbe : velk::IObject {
  static constexpr velk::iid_t IID = 0x3A5D7E19;
  virtual void ProbeAttributes(const AttributeTable& table) = 0;
  virtual void ProbeChildren(const ChildTable& table) = 0;
};

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

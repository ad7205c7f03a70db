#include "xmlfile/xml_names.h"

#include "velk/exception.h"

namespace velk::xml {
namespace {

constexpr std::string_view kItemPrefix = "item_";

// The classification is fixed to ASCII so that the stored form never
// depends on the user's locale; bytes from 0x80 up are all allowed anyway.
bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool isAllowed(unsigned char c) {
  return isLetter(c) || isDigit(c) || c == '_' || c == '-' || c == '.' || c == ':' || c >= 0x80;
}

bool isValid(std::string_view name) {
  for (char c : name)
    if (!isAllowed(static_cast<unsigned char>(c))) return false;
  return true;
}

std::string withPrefixRule(std::string_view name) {
  if (!name.empty() && isLetter(static_cast<unsigned char>(name.front()))) return std::string(name);
  std::string stored(kItemPrefix);
  stored += name;
  return stored;
}

}  // namespace

std::string storedName(std::string_view name) {
  if (!isValid(name))
    throw wrappers::XmlStorageException({"velk/util/serialization/xml_storage", 118},
                                        "Invalid character in xml tag name", errors::kInvalidArgument);
  return withPrefixRule(name);
}

std::optional<std::string> lookupName(std::string_view name) {
  if (!isValid(name)) return std::nullopt;
  return withPrefixRule(name);
}

}  // namespace velk::xml

#include "front/compiler_messages.h"

#include "velk/result.h"

namespace app_core {

std::string fileAndLine(helpers::IFileLocation* location) {
  return location->GetFileName() + "(" + std::to_string(location->GetLine()) + ")";
}

std::string alreadyDefined(std::string_view name, helpers::IFileLocation* earlier) {
  std::string text = "'" + std::string(name) + "' is ";
  if (!earlier) return text + "predefined and cannot be overriden";
  return text + "already defined at " + fileAndLine(earlier);
}

std::string undefinedReference(std::string_view kind, std::string_view name) {
  return "Reference to undefined " + std::string(kind) + " '" + std::string(name) + "'";
}

std::string calculatedIdentifier(std::string_view attribute, uint32_t value, std::string_view name) {
  return "Calculated " + std::string(attribute) + "='" + velk::hexId(value) + "' as crc32 of '" +
         std::string(name) + "'";
}

std::string deprecatedAttribute(std::string_view name, std::string_view advice) {
  std::string text = "Attribute '" + std::string(name) + "' is deprecated";
  if (!advice.empty()) text += ", " + std::string(advice);
  return text;
}

std::string settingsNotFound(std::string_view kind, std::string_view name, std::string_view component,
                             helpers::IFileLocation* componentLocation) {
  return "Settings for " + std::string(kind) + " '" + std::string(name) + "'" +
         " is not found (settings type ID was declared in component '" + std::string(component) + "' at " +
         fileAndLine(componentLocation) + ")";
}

std::string settingsTypeIdMissed(std::string_view component, helpers::IFileLocation* componentLocation) {
  return "Attribute 'settings_typeid' is missed in component '" + std::string(component) + "' defined at " +
         fileAndLine(componentLocation);
}

}  // namespace app_core

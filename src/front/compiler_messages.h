// Message texts shared by the configuration reader and the model builder.
#pragma once

#include <string>
#include <string_view>

#include "console/file_location.h"

namespace app_core {

// file + "(" + line + ")".
std::string fileAndLine(helpers::IFileLocation* location);

// "'name' is already defined at file(line)", or, when the earlier definition
// has no location, "'name' is predefined and cannot be overriden".
std::string alreadyDefined(std::string_view name, helpers::IFileLocation* earlier);

// "Reference to undefined <kind> '<name>'".
std::string undefinedReference(std::string_view kind, std::string_view name);

// "Calculated <attribute>='0x........' as crc32 of '<name>'".
std::string calculatedIdentifier(std::string_view attribute, uint32_t value, std::string_view name);

// "Attribute '<name>' is deprecated", with ", <advice>" when there is advice.
std::string deprecatedAttribute(std::string_view name, std::string_view advice = {});

// "Settings for <kind> '<name>' is not found (settings type ID was declared in
// component '<component>' at file(line))".
std::string settingsNotFound(std::string_view kind, std::string_view name, std::string_view component,
                             helpers::IFileLocation* componentLocation);

// "Attribute 'settings_typeid' is missed in component '<name>' defined at file(line)".
std::string settingsTypeIdMissed(std::string_view component, helpers::IFileLocation* componentLocation);

}  // namespace app_core

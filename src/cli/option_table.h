// The options a command accepts, in lookup order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_parameters.h"

namespace app_core::command_line_options {

enum class ValueKind { kInteger, kText, kPath, kTextList, kPathList };

struct OptionDescriptor {
  std::string longName;  // empty: reachable only by its letter
  char shortName = 0;    // 0: reachable only by its long name
  ValueKind kind = ValueKind::kText;
  bool split = false;  // lists: cut the value at every ";"
  int32_t CommandParameters::*integerField = nullptr;
  std::string CommandParameters::*textField = nullptr;
  std::vector<std::string> CommandParameters::*listField = nullptr;
};

using OptionTable = std::vector<OptionDescriptor>;

// Built afresh for each command; help has no table.
OptionTable buildOptionTable(Command command);

// The first entry with that name wins; null when there is none.
const OptionDescriptor* findLong(const OptionTable& table, std::string_view name);
const OptionDescriptor* findShort(const OptionTable& table, char letter);

// Stores `value` into the option's field; false when it does not convert.
bool applyOption(const OptionDescriptor& option, std::string_view value, CommandParameters& parameters);

// A decimal 32-bit integer with an optional sign and nothing else around it.
bool parseInteger(std::string_view text, int32_t& value);

}  // namespace app_core::command_line_options

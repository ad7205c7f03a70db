#include "cli/option_table.h"

#include <boost/algorithm/string/split.hpp>
#include <limits>

namespace app_core::command_line_options {
namespace {

using P = CommandParameters;

OptionDescriptor integer(std::string name, char letter, int32_t P::*field) {
  return {std::move(name), letter, ValueKind::kInteger, false, field, nullptr, nullptr};
}
OptionDescriptor text(std::string name, char letter, std::string P::*field) {
  return {std::move(name), letter, ValueKind::kText, false, nullptr, field, nullptr};
}
OptionDescriptor path(std::string name, char letter, std::string P::*field) {
  return {std::move(name), letter, ValueKind::kPath, false, nullptr, field, nullptr};
}
OptionDescriptor textList(std::string name, char letter, bool split, std::vector<std::string> P::*field) {
  return {std::move(name), letter, ValueKind::kTextList, split, nullptr, nullptr, field};
}
OptionDescriptor pathList(std::string name, char letter, bool split, std::vector<std::string> P::*field) {
  return {std::move(name), letter, ValueKind::kPathList, split, nullptr, nullptr, field};
}

void addCommon(OptionTable& table) {
  table.push_back(path("trace", 0, &P::traceFilePath));
  table.push_back(path("trace-file", 0, &P::traceFilePath));
  table.push_back(integer("message-level", 'm', &P::messageLevel));
}

void addCompile(OptionTable& table) {
  table.push_back(text("product", 'p', &P::product));
  table.push_back(textList("define", 'd', true, &P::definitionTexts));
  table.push_back(textList("", 'D', false, &P::definitionTexts));
  table.push_back(pathList("xml", 'x', true, &P::xmlInputs));
  table.push_back(path("vsm", 'e', &P::vsmOutput));
  table.push_back(path("quarn-config", 'g', &P::quarnConfig));
  table.push_back(path("settings", 0, &P::settingsDatabasePath));
  table.push_back(path("storage", 0, &P::storageDatabasePath));
  table.push_back(text("target-category", 'c', &P::targetCategory));
  table.push_back(text("target_category", 0, &P::targetCategory));
}

void addExchange(OptionTable& table) {
  table.push_back(path("xml", 'x', &P::singlePath));
  table.push_back(path("db", 'b', &P::databasePath));
}

void addPack(OptionTable& table) {
  table.push_back(pathList("xml", 'x', true, &P::xmlInputs));
  table.push_back(path("out", 'o', &P::singlePath));
}

void addPreprocess(OptionTable& table) {
  table.push_back(text("product", 'p', &P::product));
  table.push_back(textList("define", 'd', true, &P::definitionTexts));
  addPack(table);
}

void appendPieces(std::vector<std::string>& list, std::string_view value, bool split) {
  if (!split) {
    list.emplace_back(value);
    return;
  }
  std::vector<std::string> pieces;
  boost::algorithm::split(pieces, value, [](char c) { return c == ';'; });
  list.insert(list.end(), pieces.begin(), pieces.end());
}

}  // namespace

OptionTable buildOptionTable(Command command) {
  OptionTable table;
  if (command == Command::kHelp || command == Command::kNone) return table;
  addCommon(table);
  switch (command) {
    case Command::kCompile: addCompile(table); break;
    case Command::kImport:
    case Command::kExport: addExchange(table); break;
    case Command::kPack: addPack(table); break;
    case Command::kPreprocess: addPreprocess(table); break;
    default: break;
  }
  return table;
}

const OptionDescriptor* findLong(const OptionTable& table, std::string_view name) {
  for (const auto& option : table)
    if (!option.longName.empty() && option.longName == name) return &option;
  return nullptr;
}

const OptionDescriptor* findShort(const OptionTable& table, char letter) {
  for (const auto& option : table)
    if (option.shortName != 0 && option.shortName == letter) return &option;
  return nullptr;
}

bool parseInteger(std::string_view text, int32_t& value) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
  }
  int64_t result = negative ? -magnitude : magnitude;
  if (result > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(result);
  return true;
}

bool applyOption(const OptionDescriptor& option, std::string_view value, CommandParameters& parameters) {
  switch (option.kind) {
    case ValueKind::kInteger: return parseInteger(value, parameters.*option.integerField);
    case ValueKind::kText:
    case ValueKind::kPath: (parameters.*option.textField).assign(value); return true;
    case ValueKind::kTextList:
    case ValueKind::kPathList: appendPieces(parameters.*option.listField, value, option.split); return true;
  }
  return false;
}

}  // namespace app_core::command_line_options

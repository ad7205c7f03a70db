#include "cli/command_line_parser.h"

#include "cli/command_files.h"
#include "cli/usage_text.h"
#include "platform/path_rules.h"
#include "xmlfile/xml_input_check.h"

namespace app_core::command_line_options {
namespace {

const char* const kXmlRequired = "*.xml file path is required (\"--xml\" option) ";

bool startsWithDash(const std::string& text) { return !text.empty() && text[0] == '-'; }

// Returns the index of the next argument to read.
size_t parseShort(const std::vector<std::string>& arguments, size_t index, const OptionTable& table,
                  CommandParameters& parameters) {
  const std::string& word = arguments[index];
  bool hasValue = index + 1 < arguments.size() && !startsWithDash(arguments[index + 1]);
  const OptionDescriptor* option = word.size() == 2 && hasValue ? findShort(table, word[1]) : nullptr;
  if (!option || !applyOption(*option, arguments[index + 1], parameters))
    throw InvalidArgumentException(word);
  return index + 2;
}

void parseLong(const std::string& word, const OptionTable& table, CommandParameters& parameters) {
  size_t equals = word.size() >= 3 ? word.find('=', 2) : std::string::npos;
  if (equals == std::string::npos || equals - 2 < 2) throw InvalidArgumentException(word);
  const OptionDescriptor* option = findLong(table, std::string_view(word).substr(2, equals - 2));
  if (!option || !applyOption(*option, std::string_view(word).substr(equals + 1), parameters))
    throw InvalidArgumentException(word);
}

void require(bool condition, const std::string& text) {
  if (!condition) throw CommandLineException(text);
}

}  // namespace

Command commandOfWord(const std::vector<std::string>& arguments) {
  if (arguments.empty()) throw CommandLineException("Command required");
  const std::string& word = arguments[0];
  if (word == "help" || word == "-h" || word == "--help" || word == "/?" || word == "-?") return Command::kHelp;
  if (word == "compile") return Command::kCompile;
  if (word == "import") return Command::kImport;
  if (word == "export") return Command::kExport;
  if (word == "pack") return Command::kPack;
  if (word == "preprocess") return Command::kPreprocess;
  throw CommandLineException("Unknown command. Use 'help' option for help.");
}

void parseOptions(const std::vector<std::string>& arguments, size_t first, const OptionTable& table,
                  CommandParameters& parameters) {
  for (size_t index = first; index < arguments.size();) {
    const std::string& word = arguments[index];
    if (word.size() < 2 || word[0] != '-') throw InvalidArgumentException(word);
    if (word[1] != '-') {
      index = parseShort(arguments, index, table, parameters);
    } else {
      parseLong(word, table, parameters);
      ++index;
    }
  }
}

void checkParameters(const CommandParameters& p) {
  switch (p.command) {
    case Command::kImport:
    case Command::kExport:
      require(!p.singlePath.empty(), kXmlRequired);
      require(!p.databasePath.empty(), "DB path is required (\"--db\" option)");
      break;
    case Command::kPack:
    case Command::kPreprocess:
      require(!p.xmlInputs.empty(), kXmlRequired);
      require(!p.singlePath.empty(), "Output file path is required (\"--out\" option) ");
      break;
    default: break;
  }
  if (p.command == Command::kCompile || p.command == Command::kPreprocess)
    require(!p.product.empty(), "product is required (\"--product\" option)");
  if (p.command != Command::kCompile) return;
  require(!p.xmlInputs.empty(), kXmlRequired);
  require(!p.settingsDatabasePath.empty(), "settings DB path is required (\"--settings\" option)");
  require(!p.storageDatabasePath.empty(), "storage DB path is required (\"--storage\" option)");
  require(!p.vsmOutput.empty(), "*.vsm file path is required (\"--vsm\" option)");
  bool registryFile = !p.quarnConfig.empty() && p.quarnConfig.find('|') == std::string::npos &&
                      velk::extensionOf(p.quarnConfig) == "reg";
  require(!registryFile, "--quarn-config: unexpected format");
}

// Definition values reach the outputs: text no document can hold would
// make the tool refuse its own output.
void checkDefinitionTexts(const CommandParameters& p) {
  for (size_t i = 0; i < p.definitionTexts.size(); ++i) {
    require(velk::xml::isXmlText(p.definitionTexts[i]),
            "--define: definition " + std::to_string(i + 1) + " is not UTF-8 text of characters XML allows");
  }
}

void splitQuarnConfig(CommandParameters& parameters) {
  size_t bar = parameters.quarnConfig.find('|');
  if (bar == std::string::npos) return;
  parameters.quarnRegistryPath = parameters.quarnConfig.substr(bar + 1);
  parameters.quarnConfig.resize(bar);
}

void addDefinitions(CommandParameters& parameters) {
  for (const std::string& text : parameters.definitionTexts) {
    size_t equals = text.find('=');
    if (equals == std::string::npos)
      parameters.definitions.push_back({text, ""});
    else
      parameters.definitions.push_back({text.substr(0, equals), text.substr(equals + 1)});
  }
}

void parse(const std::vector<std::string>& arguments, CommandParameters& parameters, std::ostream& out) {
  CommandParameters parsed = parameters;
  parsed.command = commandOfWord(arguments);
  if (parsed.command == Command::kHelp) {
    out << kUsageText;
    parameters = std::move(parsed);
    return;
  }
  try {
    parseOptions(arguments, 1, buildOptionTable(parsed.command), parsed);
    checkParameters(parsed);
    checkDefinitionTexts(parsed);
    splitQuarnConfig(parsed);
    checkOutputsApart(parsed);
  } catch (const CommandLineException& e) {
    out << "Error: " << e.what() << ".\n\n"
        << "Use 'help' option for help.\n";
    throw;
  }
  parameters = std::move(parsed);
  addDefinitions(parameters);
}

}  // namespace app_core::command_line_options

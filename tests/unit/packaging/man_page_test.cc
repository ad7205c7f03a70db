// The manual page has to say what the usage text says and what the option
// tables accept; these tests read the page's roff source.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "cli/option_table.h"
#include "cli/usage_text.h"

namespace app_core::command_line_options {
namespace {

// "--name" or "-x"; a long option with a letter gives two names.
using OptionNames = std::set<std::string>;

std::string manPageSource() {
  auto path = std::filesystem::path(HESK_TEST_DATA).parent_path().parent_path() / "man" / "hesk_config.1";
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Drops the roff escapes that matter for option names: "\-" and font changes.
std::string plain(std::string line) {
  line = std::regex_replace(line, std::regex(R"(\\f[BIRP])"), " ");
  line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
  return std::regex_replace(line, std::regex(R"(["])"), " ");
}

OptionNames optionNamesIn(const std::string& text) {
  OptionNames names;
  static const std::regex option(R"((^|[\s(])(--[a-z][a-z_-]*[a-z]|-[A-Za-z])(?=[\s=)]|$))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
    names.insert((*it)[2]);
  return names;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// The lines of one ".SH" section, without its heading.
std::vector<std::string> section(const std::string& name) {
  std::vector<std::string> result;
  bool inside = false;
  for (const auto& line : lines(manPageSource())) {
    if (line.rfind(".SH", 0) == 0) {
      inside = line == ".SH " + name;
      continue;
    }
    if (inside) result.push_back(line);
  }
  EXPECT_FALSE(result.empty()) << "no section " << name;
  return result;
}

struct OptionEntry {
  std::string subsection;  // the ".SS" heading the entry stands under
  OptionNames tag;         // the names the entry documents
  OptionNames mentioned;   // every name in its tag and body
};

std::vector<OptionEntry> optionEntries() {
  std::vector<OptionEntry> entries;
  std::string subsection;
  auto body = section("OPTIONS");
  for (size_t i = 0; i < body.size(); ++i) {
    const auto& line = body[i];
    if (line.rfind(".SS ", 0) == 0) {
      subsection = plain(line.substr(4));
    } else if (line == ".TP" && i + 1 < body.size()) {
      entries.push_back({subsection, optionNamesIn(plain(body[++i])), {}});
      entries.back().mentioned = entries.back().tag;
    } else if (!entries.empty()) {
      auto names = optionNamesIn(plain(line));
      entries.back().mentioned.insert(names.begin(), names.end());
    }
  }
  return entries;
}

OptionNames usageTextOptions() {
  OptionNames names;
  static const std::regex option(R"(--([a-z][a-z_-]*)(\(-([A-Za-z])\))?)");
  std::string text = kUsageText;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
    names.insert("--" + (*it)[1].str());
    if ((*it)[3].matched) names.insert("-" + (*it)[3].str());
  }
  return names;
}

const std::map<std::string, Command> kCommands = {{"compile", Command::kCompile},
                                                  {"export", Command::kExport},
                                                  {"import", Command::kImport},
                                                  {"pack", Command::kPack},
                                                  {"preprocess", Command::kPreprocess}};

bool subsectionCovers(const std::string& subsection, const std::string& command) {
  if (subsection.find("every command") != std::string::npos) return true;
  return std::regex_search(subsection, std::regex("(^|[ ,])" + command + "($|[ ,])"));
}

TEST(ManPage, DocumentsExactlyTheOptionsOfTheUsageText) {
  OptionNames documented;
  for (const auto& entry : optionEntries()) {
    EXPECT_FALSE(entry.tag.empty()) << "an entry without an option under " << entry.subsection;
    documented.insert(entry.tag.begin(), entry.tag.end());
  }
  EXPECT_EQ(documented, usageTextOptions());
  EXPECT_GE(documented.size(), 20u) << "the usage text has 12 options, 8 of them with a letter";
}

// Every spelling a command accepts (also those the usage text leaves out)
// is named in an entry of a subsection that lists the command.
TEST(ManPage, NamesEveryOptionEachCommandAccepts) {
  auto entries = optionEntries();
  for (const auto& [word, command] : kCommands) {
    OptionNames mentioned;
    for (const auto& entry : entries)
      if (subsectionCovers(entry.subsection, word)) mentioned.insert(entry.mentioned.begin(), entry.mentioned.end());
    for (const auto& option : buildOptionTable(command)) {
      if (!option.longName.empty()) {
        EXPECT_TRUE(mentioned.count("--" + option.longName)) << word << " --" << option.longName;
      }
      if (option.shortName) {
        EXPECT_TRUE(mentioned.count(std::string("-") + option.shortName)) << word << " -" << option.shortName;
      }
    }
  }
}

// And no entry claims an option for a command that refuses it.
TEST(ManPage, ClaimsNoOptionACommandRefuses) {
  for (const auto& entry : optionEntries()) {
    for (const auto& [word, command] : kCommands) {
      if (!subsectionCovers(entry.subsection, word)) continue;
      auto table = buildOptionTable(command);
      for (const auto& name : entry.tag) {
        bool accepted =
            name[1] == '-' ? findLong(table, name.substr(2)) != nullptr : findShort(table, name[1]) != nullptr;
        EXPECT_TRUE(accepted) << word << " does not take " << name;
      }
    }
  }
}

TEST(ManPage, DescribesEveryCommandOfTheUsageText) {
  std::set<std::string> usageCommands;
  static const std::regex commandLine(R"(^  ([a-z]+) +- )");
  for (const auto& line : lines(kUsageText)) {
    std::smatch match;
    if (std::regex_search(line, match, commandLine)) usageCommands.insert(match[1]);
  }
  std::set<std::string> manCommands;
  auto body = section("COMMANDS");
  for (size_t i = 0; i + 1 < body.size(); ++i)
    if (body[i] == ".TP" && body[i + 1].rfind(".B ", 0) == 0) manCommands.insert(body[i + 1].substr(3));
  EXPECT_EQ(manCommands, usageCommands);
  EXPECT_EQ(manCommands.size(), 6u);
}

TEST(ManPage, ListsTheExitStatusesTheToolUses) {
  std::set<std::string> statuses;
  auto body = section("EXIT STATUS");
  for (size_t i = 0; i + 1 < body.size(); ++i)
    if (body[i] == ".TP") statuses.insert(body[i + 1]);
  EXPECT_EQ(statuses, (std::set<std::string>{".B 0", ".B 1", ".B 2", ".B 75"}));
}

}  // namespace
}  // namespace app_core::command_line_options

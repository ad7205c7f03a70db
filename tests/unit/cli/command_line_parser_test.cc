#include "cli/command_line_parser.h"

#include <gtest/gtest.h>

#include <sstream>

namespace app_core::command_line_options {
namespace {

CommandParameters parsed(const std::vector<std::string>& arguments) {
  CommandParameters parameters;
  std::ostringstream out;
  parse(arguments, parameters, out);
  return parameters;
}

// The text of the exception the arguments raise, and what went to `out`.
std::string failure(const std::vector<std::string>& arguments, std::string* printed = nullptr) {
  CommandParameters parameters;
  std::ostringstream out;
  try {
    parse(arguments, parameters, out);
  } catch (const CommandLineException& e) {
    EXPECT_EQ(parameters.command, Command::kNone) << "the record stays untouched";
    if (printed) *printed = out.str();
    return e.what();
  }
  ADD_FAILURE() << "no exception";
  return {};
}

std::vector<std::pair<std::string, std::string>> pairs(const Definitions& definitions) {
  std::vector<std::pair<std::string, std::string>> result;
  for (const auto& d : definitions) result.emplace_back(d.name, d.value);
  return result;
}

const std::vector<std::string> kCompile = {"compile", "-p", "P", "-x", "a.xml", "--settings=s.kvdb",
                                           "--storage=t.kvdb", "-e", "o.vsm"};

std::vector<std::string> compileWith(std::vector<std::string> extra) {
  std::vector<std::string> arguments = kCompile;
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return arguments;
}

TEST(Definitions, ShortDefineSplitsAndCapitalDDoesNot) {
  EXPECT_EQ(pairs(parsed(compileWith({"-d", "A=1;B=2"})).definitions),
            (std::vector<std::pair<std::string, std::string>>{{"A", "1"}, {"B", "2"}}));
  EXPECT_EQ(pairs(parsed(compileWith({"--define=A=1;B=2"})).definitions),
            (std::vector<std::pair<std::string, std::string>>{{"A", "1"}, {"B", "2"}}));
  EXPECT_EQ(pairs(parsed(compileWith({"-D", "A=1;B=2"})).definitions),
            (std::vector<std::pair<std::string, std::string>>{{"A", "1;B=2"}}));
}

TEST(Definitions, NamesValuesAndOrder) {
  auto p = parsed(compileWith({"-d", "NAME", "-D", "=v", "--define=X=a=b", "-d", "A;;B="}));
  EXPECT_EQ(pairs(p.definitions), (std::vector<std::pair<std::string, std::string>>{
                                      {"NAME", ""}, {"", "v"}, {"X", "a=b"}, {"A", ""}, {"", ""}, {"B", ""}}));
}

TEST(Definitions, PreprocessHasDefineButNotCapitalD) {
  std::vector<std::string> base = {"preprocess", "-p", "P", "-x", "a.xml", "-o", "out.xml"};
  auto withDefine = base;
  withDefine.insert(withDefine.end(), {"-d", "A=1;B"});
  EXPECT_EQ(pairs(parsed(withDefine).definitions),
            (std::vector<std::pair<std::string, std::string>>{{"A", "1"}, {"B", ""}}));
  auto withCapital = base;
  withCapital.insert(withCapital.end(), {"-D", "A=1"});
  EXPECT_EQ(failure(withCapital), "InvalidArgument: -D");
}

TEST(Definitions, NotRequired) { EXPECT_TRUE(parsed(kCompile).definitions.empty()); }

TEST(PathLists, SplitPiecesAndShortFormsKeepOrder) {
  auto p = parsed({"pack", "--xml=a.xml;b.xml", "-x", "c.xml", "-o", "out.xml"});
  EXPECT_EQ(p.xmlInputs, (std::vector<std::string>{"a.xml", "b.xml", "c.xml"}));
  p = parsed({"pack", "--xml=", "-x", ";x;", "-o", "out.xml"});
  EXPECT_EQ(p.xmlInputs, (std::vector<std::string>{"", "", "x", ""}));
}

TEST(PathLists, ExchangeXmlIsOnePathAndTheLastWins) {
  auto p = parsed({"import", "-x", "a.xml;b.xml", "--db=d.kvdb"});
  EXPECT_EQ(p.singlePath, "a.xml;b.xml");
  EXPECT_TRUE(p.xmlInputs.empty());
  p = parsed({"export", "--xml=first.xml", "-b", "d.kvdb", "--xml=second.xml", "--db=e.kvdb"});
  EXPECT_EQ(p.singlePath, "second.xml");
  EXPECT_EQ(p.databasePath, "e.kvdb");
}

TEST(SingleValues, LastValueStandsAndTraceSpellingsShareAField) {
  auto p = parsed(compileWith({"--trace=a.log", "--trace-file=b.log", "-p", "Q", "-c", "cat1",
                               "--target_category=cat2"}));
  EXPECT_EQ(p.traceFilePath, "b.log");
  EXPECT_EQ(p.product, "Q");
  EXPECT_EQ(p.targetCategory, "cat2");
  p = parsed(compileWith({"--trace-file=b.log", "--trace=a.log", "--target-category=c3"}));
  EXPECT_EQ(p.traceFilePath, "a.log");
  EXPECT_EQ(p.targetCategory, "c3");
  EXPECT_EQ(p.traceLevel, 1000u);
  EXPECT_EQ(p.tracePrefixFormat, "%X %I %p ");
}

TEST(SingleValues, LongValueMayBeEmptyOrHoldEquals) {
  auto p = parsed(compileWith({"--target-category=", "--product=a=b"}));
  EXPECT_EQ(p.targetCategory, "");
  EXPECT_EQ(p.product, "a=b");
}

TEST(MessageLevel, DecimalWithOptionalSign) {
  EXPECT_EQ(parsed(kCompile).messageLevel, 2);
  EXPECT_EQ(parsed(compileWith({"-m", "7"})).messageLevel, 7);
  EXPECT_EQ(parsed(compileWith({"-m", "+3"})).messageLevel, 3);
  EXPECT_EQ(parsed(compileWith({"--message-level=-1"})).messageLevel, -1);
  EXPECT_EQ(parsed(compileWith({"--message-level=-2147483648"})).messageLevel, INT32_MIN);
  EXPECT_EQ(parsed(compileWith({"--message-level=2147483647"})).messageLevel, INT32_MAX);
  for (const char* bad : {"", "x", "1x", " 1", "1 ", "+", "-", "0x1", "2147483648", "-2147483649", "1.0"})
    EXPECT_EQ(failure(compileWith({std::string("--message-level=") + bad})),
              std::string("InvalidArgument: --message-level=") + bad);
  EXPECT_EQ(failure(compileWith({"-m", "two"})), "InvalidArgument: -m");
  EXPECT_EQ(failure(compileWith({"-m", "-1"})), "InvalidArgument: -m");
}

TEST(OptionForms, InvalidShapes) {
  const std::vector<std::string> pack = {"pack", "-x", "a.xml", "-o", "o.xml"};
  auto with = [&](std::vector<std::string> extra) {
    auto arguments = pack;
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return failure(arguments);
  };
  EXPECT_EQ(with({"value"}), "InvalidArgument: value");
  EXPECT_EQ(with({"-"}), "InvalidArgument: -");
  EXPECT_EQ(with({""}), "InvalidArgument: ");
  EXPECT_EQ(with({"-xo", "a"}), "InvalidArgument: -xo");
  EXPECT_EQ(with({"-x"}), "InvalidArgument: -x");
  EXPECT_EQ(with({"-x", "-o"}), "InvalidArgument: -x");
  EXPECT_EQ(with({"-X", "a"}), "InvalidArgument: -X");
  EXPECT_EQ(with({"--"}), "InvalidArgument: --");
  EXPECT_EQ(with({"--xml"}), "InvalidArgument: --xml");
  EXPECT_EQ(with({"--=a"}), "InvalidArgument: --=a");
  EXPECT_EQ(with({"--x=a"}), "InvalidArgument: --x=a");
  EXPECT_EQ(with({"--XML=a"}), "InvalidArgument: --XML=a");
  EXPECT_EQ(with({"--product=P"}), "InvalidArgument: --product=P");
  EXPECT_EQ(with({"-p", "P"}), "InvalidArgument: -p");
  EXPECT_EQ(with({"--settings=s"}), "InvalidArgument: --settings=s");
}

TEST(OptionForms, EmptyValueOfShortFormIsAValue) {
  EXPECT_EQ(parsed({"pack", "-x", "", "-o", "o.xml"}).xmlInputs, std::vector<std::string>{""});
}

TEST(Checks, ErrorIsPrintedThenRethrown) {
  std::string printed;
  EXPECT_EQ(failure({"pack", "-o", "o.xml"}, &printed), "*.xml file path is required (\"--xml\" option) ");
  EXPECT_EQ(printed, "Error: *.xml file path is required (\"--xml\" option) .\n\nUse 'help' option for help.\n");
  EXPECT_EQ(failure({"pack", "-p", "P"}, &printed), "InvalidArgument: -p");
  EXPECT_EQ(printed, "Error: InvalidArgument: -p.\n\nUse 'help' option for help.\n");
}

TEST(Checks, CommandWordErrorsPrintNothing) {
  CommandParameters parameters;
  std::ostringstream out;
  EXPECT_THROW(parse({}, parameters, out), CommandLineException);
  EXPECT_THROW(parse({"Compile"}, parameters, out), CommandLineException);
  EXPECT_EQ(out.str(), "");
  try {
    parse({"--help2"}, parameters, out);
  } catch (const CommandLineException& e) {
    EXPECT_STREQ(e.what(), "Unknown command. Use 'help' option for help.");
  }
}

TEST(QuarnConfig, SplitAtFirstBar) {
  auto p = parsed(compileWith({"-g", "ppp.reg|HKEY_LOCAL_MACHINE\\Software\\X|Y"}));
  EXPECT_EQ(p.quarnConfig, "ppp.reg");
  EXPECT_EQ(p.quarnRegistryPath, "HKEY_LOCAL_MACHINE\\Software\\X|Y");
  p = parsed(compileWith({"--quarn-config=profiles.xml"}));
  EXPECT_EQ(p.quarnConfig, "profiles.xml");
  EXPECT_EQ(p.quarnRegistryPath, "");
  EXPECT_EQ(parsed(compileWith({"-g", "ppp.REG"})).quarnConfig, "ppp.REG");
  EXPECT_EQ(parsed(compileWith({"-g", "out.reg/profiles"})).quarnConfig, "out.reg/profiles");
  EXPECT_EQ(failure(compileWith({"-g", "sub/ppp.reg"})), "--quarn-config: unexpected format");
}

TEST(Help, PrintsUsageAndIgnoresTheRest) {
  for (const char* word : {"help", "-h", "--help", "/?", "-?"}) {
    CommandParameters parameters;
    std::ostringstream out;
    parse({word, "--bogus", "-x"}, parameters, out);
    EXPECT_EQ(parameters.command, Command::kHelp);
    EXPECT_EQ(out.str().substr(0, 7), "Usage:\n");
    EXPECT_EQ(out.str().back(), '\n');
  }
}

TEST(OptionTable, EntriesPerCommandInOrder) {
  auto names = [](Command command) {
    std::string text;
    for (const auto& o : buildOptionTable(command))
      text += (o.longName.empty() ? "" : o.longName) + (o.shortName ? std::string("/") + o.shortName : "") + " ";
    return text;
  };
  const std::string common = "trace trace-file message-level/m ";
  EXPECT_EQ(names(Command::kHelp), "");
  EXPECT_EQ(names(Command::kCompile), common +
                                          "product/p define/d /D xml/x vsm/e quarn-config/g settings storage "
                                          "target-category/c target_category ");
  EXPECT_EQ(names(Command::kImport), common + "xml/x db/b ");
  EXPECT_EQ(names(Command::kExport), common + "xml/x db/b ");
  EXPECT_EQ(names(Command::kPack), common + "xml/x out/o ");
  EXPECT_EQ(names(Command::kPreprocess), common + "product/p define/d xml/x out/o ");
}

}  // namespace
}  // namespace app_core::command_line_options

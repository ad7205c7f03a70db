#include <gtest/gtest.h>

#include "node_dump.h"
#include "preprocessor/combined_storage_filter.h"
#include "preprocessor/definitions_storage_filter.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/product_pattern.h"
#include "preprocessor/storage_block_filter.h"
#include "preprocessor/user_messages_storage_filter.h"
#include "recording_reporter.h"
#include "test_node.h"
#include "velk/exception.h"

namespace app_core::helpers {
namespace {

using test::dump;
using testing::parseTestXml;
using testing::RecordingReporter;
using testing::Report;
using velk::Ref;

// The reader's view of `xml` through a chain of the definitions, block and
// message filters (includes need files; the commands' cases cover them).
class ChainTest : public ::testing::Test {
 protected:
  std::string read(const std::string& xml, const Definitions& definitions = {}, const std::string& product = "QPX") {
    auto chain = velk::make<CombinedStorageFilter>();
    definitions_ = velk::make<DefinitionsStorageFilter>(Ref<StorageErrorReporter>(reporter_), definitions, product);
    chain->add(definitions_);
    chain->add(velk::make<StorageBlockFilter>());
    chain->add(velk::make<UserMessagesStorageFilter>(Ref<StorageErrorReporter>(reporter_)));
    auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(parseTestXml(xml)), Ref<IStorageFilter>(chain));
    return dump(view.get());
  }
  const std::vector<Report>& reports() const { return reporter_->reports; }

  Ref<RecordingReporter> reporter_ = velk::make<RecordingReporter>();
  Ref<DefinitionsStorageFilter> definitions_;
};

TEST(ProductPattern, MatchesListedNamesExactly) {
  EXPECT_TRUE(matchesProductPattern("QPX;ABC", "ABC"));
  EXPECT_TRUE(matchesProductPattern("QPX;ABC", "QPX"));
  EXPECT_FALSE(matchesProductPattern("QPX;ABC", "AB"));
  EXPECT_FALSE(matchesProductPattern("QPX;ABC", "abc"));
  EXPECT_FALSE(matchesProductPattern("QPX; ABC", "ABC"));
  EXPECT_FALSE(matchesProductPattern("", ""));
  EXPECT_FALSE(matchesProductPattern("", "QPX"));
  EXPECT_TRUE(matchesProductPattern("QPX;", ""));
}

TEST(ProductPattern, NegatesAListInBangParentheses) {
  EXPECT_FALSE(matchesProductPattern("!(QPX)", "QPX"));
  EXPECT_TRUE(matchesProductPattern("!(QPX)", "ABC"));
  EXPECT_FALSE(matchesProductPattern("!(QPX;ABC)", "ABC"));
  EXPECT_FALSE(matchesProductPattern("!()", "QPX"));  // too short to negate: a plain name
  EXPECT_TRUE(matchesProductPattern("!()", "!()"));
  EXPECT_TRUE(matchesProductPattern("!(!(QPX))", "QPX"));
}

TEST(CombinedStorageFilter, AsksInOrderUntilOneConsumes) {
  auto reporter = velk::make<RecordingReporter>();
  auto combined = velk::make<CombinedStorageFilter>();
  combined->add(velk::make<UserMessagesStorageFilter>(Ref<StorageErrorReporter>(reporter)));
  combined->add(velk::make<StorageBlockFilter>());
  auto root = parseTestXml(R"(<r><message kind="info">m</message><block><message kind="info">n</message></block></r>)");
  auto view = velk::make<FilteredStorage>(Ref<IXmlFileStorage>(root), Ref<IStorageFilter>(combined));
  EXPECT_EQ(dump(view.get()), "r");
  ASSERT_EQ(reporter->reports.size(), 2u);
  EXPECT_EQ(reporter->reports[1].text, "n");
}

TEST_F(ChainTest, BlocksAreFlattenedAtEveryDepth) {
  EXPECT_EQ(read(R"(<r><block a="1"><x/><block><block><y/></block></block></block><block/><z><block><w/></block></z></r>)"),
            "r { x, y, z { w } }");
  EXPECT_TRUE(reports().empty());
}

TEST_F(ChainTest, MessagesAreReportedByKindAndRemoved) {
  EXPECT_EQ(read("<r>\n<message kind=\"error\">e ${X}</message>\n<message kind=\"warning\">w</message>\n"
                 "<message kind=\"info\"/>\n<message kind=\"Error\">E</message>\n<message>kept</message></r>"),
            "r { message \"kept\" }");
  std::vector<Report> expected{
      {"Error", "a.xml(2)", "e ${X}"},
      {"Warning", "a.xml(3)", "w"},
      {"Info", "a.xml(4)", ""},
      {"Error", "a.xml(5)", "Invalid 'kind' value. Allowed: 'error', 'warning' and 'info'."},
      {"Info", "a.xml(6)", "Found 'message' node without 'kind' attribute. Skipped due to backward compatibility reasons."},
  };
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, ConditionsAreTestedInOrderAndTheirAttributesHidden) {
  EXPECT_EQ(read("<r>\n<a product=\"ABC\" ifdef=\"NONE\"/>\n<b product=\"QPX\" ifdef=\"NONE\"/>\n"
                 "<c product=\"!(ABC)\" ifndef=\"APP_CORE_CONFIG_COMPILER_V_1_6\"/>\n"
                 "<d product=\"QPX\" ifdef=\"APP_CORE_CONFIG_COMPILER_V_1_6\" ifndef=\"NONE\" x=\"1\"/></r>"),
            "r { d x=1 }");
  std::vector<Report> expected{
      {"Info", "a.xml(2)", "Node was skipped because product pattern 'ABC' does not match"},
      {"Info", "a.xml(3)", "Node was skipped because 'NONE' was not defined"},
      {"Info", "a.xml(4)", "Node was skipped because 'APP_CORE_CONFIG_COMPILER_V_1_6' was defined at:\n\t[built-in]"},
  };
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, ConditionsApplyAtAnyDepthAndToSplicedNodes) {
  EXPECT_EQ(read(R"(<r><x><y product="ABC"/><z/></x><block product="QPX"><k product="ABC"/><m/></block></r>)"),
            "r { x { z }, m }");
}

TEST_F(ChainTest, DefinitionsAreSubstitutedInValuesAndText) {
  EXPECT_EQ(read(R"(<r><define name="A" value="x"/><v a="${A}-${A}" b="$${A}}">t${A}</v><define name="B" value="[${A}]"/><w b="${B}"/></r>)"),
            "r { v a=x-x b=$x} \"tx\", w b=[x] }");
  EXPECT_TRUE(reports().empty());
}

TEST_F(ChainTest, UnknownAndEmptyReferencesStayAndAreReported) {
  EXPECT_EQ(read("<r><define name=\"A\" value=\"x\"/><v a=\"${A}${B}\" e=\"${}\" o=\"${A\"/></r>"),
            "r { v a=x${B} e=${} o=x }");
  std::vector<Report> expected{
      {"Error", "a.xml(1)", "definition substitute: 'B' is not defined yet"},
      {"Warning", "a.xml(1)", "'definition substitute: empty definition name'"},
      {"Error", "a.xml(1)", "definition substitute: '' is not defined yet"},
  };
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, InsertedValuesAreNotSearchedAgain) {
  EXPECT_EQ(read(R"(<r><v a="${A}"/></r>)", {{"A", "${A}"}}), "r { v a=${A} }");
  EXPECT_TRUE(reports().empty());
}

TEST_F(ChainTest, EmptyNameDefinedOnTheCommandLineOnlyWarns) {
  EXPECT_EQ(read(R"(<r><v e="${}"/></r>)", {{"", "E"}}), "r { v e=E }");
  ASSERT_EQ(reports().size(), 1u);
  EXPECT_EQ(reports()[0].kind, "Warning");
}

TEST_F(ChainTest, CommandLineDefinitionsComeFirstAndTheFirstOfANameStays) {
  EXPECT_EQ(read("<r>\n<define name=\"A\" value=\"2\"/>\n<v a=\"${A}\" c=\"${APP_CORE_CONFIG_COMPILER_V_1_6}\"/></r>",
                 {{"A", "1"}, {"A", "3"}, {"APP_CORE_CONFIG_COMPILER_V_1_6", "7"}}),
            "r { v a=1 c=7 }");
  std::vector<Report> expected{{"Error", "a.xml(2)", "define: 'A' is already defined at:\n\t[command line]"}};
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, RedefinitionNamesTheEarlierDefinition) {
  read("<r>\n<define name=\"A\" value=\"1\"/>\n<define name=\"A\" value=\"2\"/><v a=\"${A}\"/></r>");
  std::vector<Report> expected{{"Error", "a.xml(3)", "define: 'A' is already defined at:\n\ta.xml(2)"}};
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, UndefRemovesForEverythingAfterIt) {
  EXPECT_EQ(read("<r>\n<a ifdef=\"APP_CORE_CONFIG_COMPILER_V_1_6\"/>\n<undef name=\"APP_CORE_CONFIG_COMPILER_V_1_6\"/>\n"
                 "<b ifndef=\"APP_CORE_CONFIG_COMPILER_V_1_6\"/>\n<undef name=\"Q\"/>\n<undef/>\n<define value=\"v\"/></r>"),
            "r { a, b, undef, define value=v }");
  std::vector<Report> expected{
      {"Warning", "a.xml(5)", "undef: 'Q' is not defined yet"},
      {"Info", "a.xml(6)", "Found 'undef' node without 'name' attribute. Skipped due to backward compatibility reasons."},
      {"Info", "a.xml(7)", "Found 'define' node without 'name' attribute. Skipped due to backward compatibility reasons."},
  };
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, ConditionAttributesAreReadLiterally) {
  EXPECT_EQ(read(R"(<r><define name="P" value="QPX"/><a product="${P}"/><b ifdef="${P}"/><c/></r>)"), "r { c }");
  EXPECT_EQ(reports()[0].text, "Node was skipped because product pattern '${P}' does not match");
}

TEST_F(ChainTest, DefineInsideASkippedElementIsNotMade) {
  EXPECT_EQ(read(R"(<r><s product="ABC"><define name="A" value="1"/></s><a ifdef="A"/></r>)"), "r");
}

TEST_F(ChainTest, DefinitionsAreSeenInTheOrderTheReaderOpensNodes) {
  // A subtree is filtered when it is opened, after its whole level: x's
  // children see the define that follows x.
  EXPECT_EQ(read(R"(<r><x><a ifdef="A"/></x><define name="A" value="1"/><y><b ifdef="A"/></y></r>)"),
            "r { x { a }, y { b } }");
}

TEST_F(ChainTest, DefineWithoutValueRaises) {
  try {
    read(R"(<r><define name="A"/></r>)");
    FAIL() << "no exception";
  } catch (const velk::wrappers::XmlStorageException& e) {
    EXPECT_EQ(e.message(), "value at node define");
    EXPECT_EQ(e.code(), velk::errors::kNotFound);
  }
}

TEST_F(ChainTest, MacroIncludesSpliceTheBodyAndEvaluateItWhereUsed) {
  EXPECT_EQ(read("<r>\n<define name=\"M\" value=\"\"><a ifdef=\"X\"/><b v=\"${X}\"/><block><c/></block></define>\n"
                 "<include macro=\"M\"/>\n<define name=\"X\" value=\"1\"/>\n<include macro=\"M\" file=\"ignored.xml\"/></r>"),
            "r { b v=1, c, a, b v=1, c }");
  // Values are substituted when read, after the whole level was filtered.
  std::vector<Report> expected{{"Info", "a.xml(2)", "Node was skipped because 'X' was not defined"}};
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, MacroBodyDefinesAgainOnEachUse) {
  read("<r>\n<define name=\"M\" value=\"\">\n<define name=\"D\" value=\"1\"/></define>\n<include macro=\"M\"/>\n"
       "<include macro=\"M\"/>\n<include macro=\"N\"/></r>");
  std::vector<Report> expected{{"Error", "a.xml(3)", "define: 'D' is already defined at:\n\ta.xml(3)"},
                               {"Error", "a.xml(6)", "include: 'N' is not defined yet"}};
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, MacroIncludingItselfIsStoppedAtEachUse) {
  EXPECT_EQ(read("<r>\n<define name=\"M\" value=\"\"><a/>\n<include macro=\"M\"/><x><include macro=\"M\"/></x></define>\n"
                 "<include macro=\"M\"/></r>"),
            "r { a, x }");
  std::vector<Report> expected{{"Error", "a.xml(3)", "include: 'M' is included recursively"},
                               {"Error", "a.xml(3)", "include: 'M' is included recursively"}};
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, MacrosIncludingEachOtherAreStoppedWhereTheCycleCloses) {
  EXPECT_EQ(read("<r>\n<define name=\"A\" value=\"\"><a/><include macro=\"B\"/></define>\n"
                 "<define name=\"B\" value=\"\"><b/>\n<include macro=\"A\"/></define>\n"
                 "<include macro=\"A\"/><include macro=\"B\"/></r>"),
            "r { a, b, b, a }");
  std::vector<Report> expected{{"Error", "a.xml(4)", "include: 'A' is included recursively"},
                               {"Error", "a.xml(2)", "include: 'B' is included recursively"}};
  EXPECT_EQ(reports(), expected);
}

TEST_F(ChainTest, AMacroMayBeUsedAgainInsideAnotherAfterItsOwnExpansion) {
  // N is defined while M expands; using N later is not a recursion of M.
  EXPECT_EQ(read(R"(<r><define name="M" value=""><define name="N" value=""><include macro="M"/></define><m/></define>)"
                 R"(<include macro="M"/><include macro="N"/></r>)"),
            "r { m, m }");
  std::vector<Report> expected{{"Error", "a.xml(1)", "define: 'N' is already defined at:\n\ta.xml(1)"}};
  EXPECT_EQ(reports(), expected);
}

TEST(DefinitionsStorageFilter, SubstitutesWideText) {
  auto reporter = velk::make<RecordingReporter>();
  auto filter = velk::make<DefinitionsStorageFilter>(Ref<StorageErrorReporter>(reporter), Definitions{{"A", "\xC3\xA9"}}, "");
  velk::ValueDescriptor value = velk::ValueDescriptor::ofWideText(L"<${A}>");
  filter->FilterValue(nullptr, value);
  EXPECT_EQ(value.wideText, L"<\u00e9>");
  velk::ValueDescriptor number = velk::ValueDescriptor::ofUInt32(5);
  filter->FilterValue(nullptr, number);
  EXPECT_EQ(number.bits, 5u);
}

TEST(DefinitionsStorageFilter, HidesOnlyTheConditionAttributes) {
  auto filter = velk::make<DefinitionsStorageFilter>(velk::make<RecordingReporter>(), Definitions{}, "");
  EXPECT_TRUE(filter->IsValueHidden(nullptr, "product"));
  EXPECT_TRUE(filter->IsValueHidden(nullptr, "ifdef"));
  EXPECT_TRUE(filter->IsValueHidden(nullptr, "ifndef"));
  EXPECT_FALSE(filter->IsValueHidden(nullptr, "Product"));
  EXPECT_FALSE(filter->IsValueHidden(nullptr, "name"));
}

}  // namespace
}  // namespace app_core::helpers

// Includes splice whole files into a view; the view as a whole must stay
// within the depth that one file may have, or the recursive walkers over it
// run out of stack.
#include <gtest/gtest.h>

#include "preprocessor/filter_chains.h"
#include "preprocessor/filtered_storage.h"
#include "preprocessor/storage_copy.h"
#include "recording_reporter.h"
#include "test_files.h"
#include "velk/exception.h"
#include "xmlfile/open_xml_file.h"
#include "xmlfile/xml_input_check.h"

namespace hardening {
namespace {

using namespace app_core::helpers;
using velk::Ref;

std::string nested(int levels, const std::string& inner) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += "<a>";
  text += inner;
  for (int i = 0; i < levels; ++i) text += "</a>";
  return text;
}

class ViewDepth : public ScratchFolder {
 protected:
  // `files` files, each `levels` deep below its root, each including the
  // next at its deepest level.
  std::string writeChain(int files, int levels) {
    for (int i = 0; i < files; ++i) {
      std::string inner = i + 1 < files ? "<include file=\"f" + std::to_string(i + 1) + ".xml\"/>" : "<leaf/>";
      write("f" + std::to_string(i) + ".xml", "<root>" + nested(levels, inner) + "</root>");
    }
    return path("f0.xml");
  }

  // Copies the preprocessed view of `input` into a new document.
  void copy(const std::string& input) {
    auto factory = velk::make<velk::XmlStorageFactory>();
    auto chain = makePreprocessorChain(reporter_, factory.get(), {}, "");
    Ref<IXmlFileStorage> root = openXmlFile(factory.get(), input, reporter_.get(), nullptr);
    ASSERT_TRUE(root);
    Ref<velk::IStorage> document;
    ASSERT_EQ(factory->CreateDocument("root", nullptr, 0, document.put()), velk::errors::kOk);
    copyStorage(velk::make<FilteredStorage>(root, chain).get(), document.get());
  }

  Ref<app_core::testing::RecordingReporter> reporter_ = velk::make<app_core::testing::RecordingReporter>();
};

TEST_F(ViewDepth, IncludesDeeperThanTheLimitEndTheReadWithTheirLocation) {
  std::string first = writeChain(120, 900);
  try {
    copy(first);
    FAIL() << "no exception";
  } catch (const velk::wrappers::XmlStorageException& e) {
    EXPECT_EQ(e.message(), "Elements nested deeper than 1000 levels at " + path("f1.xml") + "(1)");
  }
  EXPECT_EQ(reporter_->errors().size(), 0u);
}

TEST_F(ViewDepth, MacrosNestedThroughEachOtherAreLimitedToo) {
  std::string text = "<root>";
  for (int i = 0; i < 40; ++i) {
    std::string inner = i + 1 < 40 ? "<include macro=\"m" + std::to_string(i + 1) + "\"/>" : "<leaf/>";
    text += "<define name=\"m" + std::to_string(i) + "\" value=\"\">" + nested(30, inner) + "</define>";
  }
  text += "<include macro=\"m0\"/></root>";
  EXPECT_THROW(copy(write("macros.xml", text)), velk::wrappers::XmlStorageException);
}

TEST_F(ViewDepth, ExactlyTheLimitIsRead) {
  // The root is level 1; f0 holds levels 2 to 500, f1 (spliced in place of
  // the include) levels 501 to 999 and its leaf level 1000.
  std::string first = writeChain(2, 499);
  write("f1.xml", "<root>" + nested(499, "<leaf/>") + "</root>");
  EXPECT_NO_THROW(copy(first));
  write("f1.xml", "<root>" + nested(500, "<leaf/>") + "</root>");
  EXPECT_THROW(copy(first), velk::wrappers::XmlStorageException);
}

}  // namespace
}  // namespace hardening

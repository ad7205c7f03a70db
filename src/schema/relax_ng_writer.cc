#include "schema/relax_ng_writer.h"

#include "schema/element_types.h"
#include "schema/preprocessor_elements.h"
#include "schema/value_pattern.h"
#include "schema/xml_text.h"

namespace app_core::schema {
namespace {

class RelaxNgWriter {
 public:
  explicit RelaxNgWriter(const ElementShape& root) : types_(root, "configuration") {}

  std::string write() {
    line(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    line(0, "<!-- Generated from the configuration reader's tables by hesk_config_schema; do not edit. -->");
    line(0, "<grammar xmlns=\"http://relaxng.org/ns/structure/1.0\"");
    line(0, "         xmlns:a=\"http://relaxng.org/ns/compatibility/annotations/1.0\"");
    line(0, "         datatypeLibrary=\"http://www.w3.org/2001/XMLSchema-datatypes\">");
    documentation(1, "The hesk_config configuration language; the root element's name is free.");
    line(1, "<start><element><anyName/><ref name=\"configuration\"/></element></start>");
    for (const auto& entry : types_.entries()) elementType(entry.typeName, *entry.shape);
    preprocessor();
    line(1, "<define name=\"conditions\">");
    for (const AttributeShape& attribute : conditionAttributes()) this->attribute(2, attribute);
    line(1, "</define>");
    line(1, "<define name=\"free\">");
    documentation(2, "Content the reader does not examine.");
    line(2, "<ref name=\"free.attributes\"/>");
    line(2, "<zeroOrMore><choice><text/><element><anyName/><ref name=\"free\"/></element></choice></zeroOrMore>");
    line(1, "</define>");
    line(1, "<define name=\"free.attributes\">");
    line(2, "<zeroOrMore><attribute><anyName/></attribute></zeroOrMore>");
    line(1, "</define>");
    line(0, "</grammar>");
    return out_;
  }

 private:
  void line(int depth, const std::string& text) { out_ += std::string(2 * depth, ' ') + text + "\n"; }

  void documentation(int depth, const std::string& text) {
    line(depth, "<a:documentation>" + escaped(text) + "</a:documentation>");
  }

  std::string typeOf(const ElementShape& shape) const {
    return shape.attributes || shape.children ? types_.typeOf(shape) : "free";
  }

  void elementType(const std::string& typeName, const ElementShape& shape) {
    if (!shape.attributes && !shape.children) return;
    line(1, "<define name=\"" + typeName + "\">");
    if (std::string place = types_.placeOf(typeName); !place.empty()) documentation(2, place);
    if (shape.attributes) {
      for (const AttributeShape& attribute : *shape.attributes) this->attribute(2, attribute);
      line(2, "<ref name=\"conditions\"/>");
    } else {
      line(2, "<ref name=\"free.attributes\"/>");
    }
    if (shape.children)
      line(2, "<ref name=\"" + typeName + ".children\"/>");
    else
      line(2, "<zeroOrMore><choice><text/><element><anyName/><ref name=\"free\"/></element></choice></zeroOrMore>");
    line(1, "</define>");
    if (!shape.children) return;
    line(1, "<define name=\"" + typeName + ".children\">");
    line(2, "<zeroOrMore><choice>");
    line(3, "<text/>");  // the reader reads no element's text
    for (const ElementShape& child : *shape.children)
      line(3, "<element name=\"" + child.name + "\"><ref name=\"" + typeOf(child) + "\"/></element>");
    line(3, "<ref name=\"preprocessor\"/>");
    line(3, "<element name=\"block\">");
    documentation(4, kBlockDocumentation);
    line(4, "<ref name=\"free.attributes\"/><ref name=\"" + typeName + ".children\"/>");
    line(3, "</element>");
    line(2, "</choice></zeroOrMore>");
    line(1, "</define>");
  }

  void attribute(int depth, const AttributeShape& attribute) {
    bool optional = attribute.optional;
    if (optional) line(depth++, "<optional>");
    line(depth, "<attribute name=\"" + attribute.name + "\">");
    std::string text = attribute.name + (attribute.optional ? " (optional)" : "") + " = " + attribute.grammar;
    if (!attribute.deprecationWarning.empty()) text = "Deprecated: " + attribute.deprecationWarning + ". " + text;
    documentation(depth + 1, text);
    if (attribute.keywords.empty() && attribute.otherTexts.empty()) {
      line(depth + 1, "<data type=\"string\"/>");
    } else {
      line(depth + 1, "<choice>");
      for (const std::string& word : attribute.keywords)
        line(depth + 2, "<value type=\"string\">" + escaped(word) + "</value>");
      if (!attribute.otherTexts.empty()) pattern(depth + 2, attribute.otherTexts);
      pattern(depth + 2, kReferencePattern);
      line(depth + 1, "</choice>");
    }
    line(depth, "</attribute>");
    if (optional) line(--depth, "</optional>");
  }

  void pattern(int depth, const std::string& expression) {
    line(depth, "<data type=\"string\"><param name=\"pattern\">" + escaped(expression) + "</param></data>");
  }

  void preprocessor() {
    line(1, "<define name=\"preprocessor\">");
    line(2, "<choice>");
    for (const PreprocessorElement& element : preprocessorElements()) {
      line(3, "<element name=\"" + element.name + "\">");
      documentation(4, element.documentation);
      for (const AttributeShape& attribute : element.attributes) this->attribute(4, attribute);
      line(4, "<ref name=\"conditions\"/>");
      switch (element.content) {
        case PreprocessorContent::kEmpty: line(4, "<empty/>"); break;
        case PreprocessorContent::kText: line(4, "<text/>"); break;
        case PreprocessorContent::kAny:
          line(4, "<zeroOrMore><choice><text/><element><anyName/><ref name=\"free\"/></element></choice>"
                  "</zeroOrMore>");
          break;
      }
      line(3, "</element>");
    }
    line(2, "</choice>");
    line(1, "</define>");
  }

  ElementTypes types_;
  std::string out_;
};

}  // namespace

std::string writeRelaxNg(const ElementShape& root) { return RelaxNgWriter(root).write(); }

}  // namespace app_core::schema

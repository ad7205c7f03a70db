#include "schema/xsd_writer.h"

#include "schema/element_types.h"
#include "schema/preprocessor_elements.h"
#include "schema/value_pattern.h"
#include "schema/xml_text.h"

namespace app_core::schema {

const char* const kXsdRootName = "configuration";

namespace {

class XsdWriter {
 public:
  explicit XsdWriter(const ElementShape& root) : types_(root, kXsdRootName) {}

  std::string write() {
    line(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    line(0, "<!-- Generated from the configuration reader's tables by hesk_config_schema; do not edit. -->");
    line(0, "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">");
    documentation(1,
                  "The hesk_config configuration language. The root element's name is free for the "
                  "compiler; this schema calls it configuration.");
    line(1, "<xs:element name=\"" + std::string(kXsdRootName) + "\" type=\"" + kXsdRootName + "\"/>");
    for (const auto& entry : types_.entries()) elementType(entry.typeName, *entry.shape);
    preprocessorGroup();
    conditionsGroup();
    line(1, "<xs:simpleType name=\"reference\">");
    documentation(2, "A value holding a ${NAME} reference, substituted before it is read.");
    line(2, "<xs:restriction base=\"xs:string\"><xs:pattern value=\"" + escaped(kReferencePattern) +
                "\"/></xs:restriction>");
    line(1, "</xs:simpleType>");
    line(1, "<xs:complexType name=\"free\" mixed=\"true\">");
    documentation(2, "Content the reader does not examine.");
    line(2, "<xs:sequence><xs:any minOccurs=\"0\" maxOccurs=\"unbounded\" processContents=\"skip\"/>"
            "</xs:sequence>");
    line(2, "<xs:anyAttribute processContents=\"skip\"/>");
    line(1, "</xs:complexType>");
    line(0, "</xs:schema>");
    return out_;
  }

 private:
  void line(int depth, const std::string& text) { out_ += std::string(2 * depth, ' ') + text + "\n"; }

  void documentation(int depth, const std::string& text) {
    line(depth, "<xs:annotation><xs:documentation>" + escaped(text) + "</xs:documentation></xs:annotation>");
  }

  void elementType(const std::string& typeName, const ElementShape& shape) {
    if (!shape.attributes && !shape.children) return;  // free: written once as "free"
    // The reader reads no element's text, so text passes everywhere.
    line(1, "<xs:complexType name=\"" + typeName + "\" mixed=\"true\">");
    if (std::string place = types_.placeOf(typeName); !place.empty()) documentation(2, place);
    children(2, shape);
    attributes(2, shape);
    line(1, "</xs:complexType>");
    if (!shape.children) return;
    line(1, "<xs:complexType name=\"" + typeName + ".block\" mixed=\"true\">");
    documentation(2, kBlockDocumentation);
    children(2, shape);
    line(2, "<xs:anyAttribute processContents=\"skip\"/>");
    line(1, "</xs:complexType>");
  }

  std::string typeOf(const ElementShape& shape) const {
    return shape.attributes || shape.children ? types_.typeOf(shape) : "free";
  }

  void children(int depth, const ElementShape& shape) {
    if (!shape.children) {
      line(depth, "<xs:sequence><xs:any minOccurs=\"0\" maxOccurs=\"unbounded\" processContents=\"skip\"/>"
                  "</xs:sequence>");
      return;
    }
    line(depth, "<xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\">");
    for (const ElementShape& child : *shape.children)
      line(depth + 1, "<xs:element name=\"" + child.name + "\" type=\"" + typeOf(child) + "\"/>");
    line(depth + 1, "<xs:group ref=\"preprocessor\"/>");
    line(depth + 1, "<xs:element name=\"block\" type=\"" + types_.typeOf(shape) + ".block\"/>");
    line(depth, "</xs:choice>");
  }

  void attributes(int depth, const ElementShape& shape) {
    if (!shape.attributes) {
      line(depth, "<xs:anyAttribute processContents=\"skip\"/>");
      return;
    }
    for (const AttributeShape& attribute : *shape.attributes) this->attribute(depth, attribute);
    line(depth, "<xs:attributeGroup ref=\"conditions\"/>");
  }

  void attribute(int depth, const AttributeShape& attribute) {
    std::string use = attribute.optional ? "" : " use=\"required\"";
    bool anyText = attribute.keywords.empty() && attribute.otherTexts.empty();
    if (anyText) {
      line(depth, "<xs:attribute name=\"" + attribute.name + "\" type=\"xs:string\"" + use + ">");
      attributeDocumentation(depth + 1, attribute);
      line(depth, "</xs:attribute>");
      return;
    }
    line(depth, "<xs:attribute name=\"" + attribute.name + "\"" + use + ">");
    attributeDocumentation(depth + 1, attribute);
    line(depth + 1, "<xs:simpleType>");
    line(depth + 2, "<xs:union memberTypes=\"reference\">");
    if (!attribute.keywords.empty()) {
      line(depth + 3, "<xs:simpleType><xs:restriction base=\"xs:string\">");
      for (const std::string& word : attribute.keywords)
        line(depth + 4, "<xs:enumeration value=\"" + escaped(word) + "\"/>");
      line(depth + 3, "</xs:restriction></xs:simpleType>");
    }
    if (!attribute.otherTexts.empty()) {
      line(depth + 3, "<xs:simpleType><xs:restriction base=\"xs:string\">");
      line(depth + 4, "<xs:pattern value=\"" + escaped(attribute.otherTexts) + "\"/>");
      line(depth + 3, "</xs:restriction></xs:simpleType>");
    }
    line(depth + 2, "</xs:union>");
    line(depth + 1, "</xs:simpleType>");
    line(depth, "</xs:attribute>");
  }

  void attributeDocumentation(int depth, const AttributeShape& attribute) {
    std::string text = attribute.name + (attribute.optional ? " (optional)" : "") + " = " + attribute.grammar;
    if (!attribute.deprecationWarning.empty()) text = "Deprecated: " + attribute.deprecationWarning + ". " + text;
    documentation(depth, text);
  }

  void preprocessorGroup() {
    line(1, "<xs:group name=\"preprocessor\">");
    line(2, "<xs:choice>");
    for (const PreprocessorElement& element : preprocessorElements()) {
      line(3, "<xs:element name=\"" + element.name + "\">");
      documentation(4, element.documentation);
      switch (element.content) {
        case PreprocessorContent::kEmpty:
          line(4, "<xs:complexType>");
          break;
        case PreprocessorContent::kText:
          line(4, "<xs:complexType><xs:simpleContent><xs:extension base=\"xs:string\">");
          break;
        case PreprocessorContent::kAny:
          line(4, "<xs:complexType mixed=\"true\">");
          line(5, "<xs:sequence><xs:any minOccurs=\"0\" maxOccurs=\"unbounded\" processContents=\"skip\"/>"
                  "</xs:sequence>");
          break;
      }
      for (const AttributeShape& attribute : element.attributes) this->attribute(5, attribute);
      line(5, "<xs:attributeGroup ref=\"conditions\"/>");
      if (element.content == PreprocessorContent::kText)
        line(4, "</xs:extension></xs:simpleContent></xs:complexType>");
      else
        line(4, "</xs:complexType>");
      line(3, "</xs:element>");
    }
    line(2, "</xs:choice>");
    line(1, "</xs:group>");
  }

  void conditionsGroup() {
    line(1, "<xs:attributeGroup name=\"conditions\">");
    for (const AttributeShape& attribute : conditionAttributes()) this->attribute(2, attribute);
    line(1, "</xs:attributeGroup>");
  }

  ElementTypes types_;
  std::string out_;
};

}  // namespace

std::string writeXsd(const ElementShape& root) { return XsdWriter(root).write(); }

}  // namespace app_core::schema

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <map>
#include <set>

#include "schema/element_types.h"
#include "schema/reader_walk.h"
#include "schema/relax_ng_writer.h"
#include "schema/xsd_writer.h"

namespace app_core::schema {
namespace {

const ElementShape* childNamed(const ElementShape& parent, const std::string& name) {
  if (!parent.children) return nullptr;
  for (const ElementShape& child : *parent.children)
    if (child.name == name) return &child;
  return nullptr;
}

const AttributeShape* attributeNamed(const ElementShape& element, const std::string& name) {
  if (!element.attributes) return nullptr;
  for (const AttributeShape& attribute : *element.attributes)
    if (attribute.name == name) return &attribute;
  return nullptr;
}

std::string attributeOf(const TiXmlElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value ? value : "";
}

// Compares the reader's tables with the complex types of a written XML
// Schema, element by element from the root, and lists every difference.
class XsdComparison {
 public:
  explicit XsdComparison(const std::string& xsd) {
    document_.Parse(xsd.c_str());
    const TiXmlElement* schema = document_.RootElement();
    for (auto* type = schema ? schema->FirstChildElement("xs:complexType") : nullptr; type;
         type = type->NextSiblingElement("xs:complexType"))
      types_[attributeOf(type, "name")] = type;
  }

  std::vector<std::string> differences(const ElementShape& root) {
    compare(root, kXsdRootName, "root");
    return differences_;
  }

 private:
  void compare(const ElementShape& shape, const std::string& typeName, const std::string& path) {
    bool free = !shape.attributes && !shape.children;
    if (free) {
      if (typeName != "free") differences_.push_back(path + ": not examined, but typed " + typeName);
      return;
    }
    auto found = types_.find(typeName);
    if (found == types_.end()) return differences_.push_back(path + ": no type " + typeName);
    if (!compared_.insert(typeName).second) return;
    compareAttributes(shape, found->second, path);
    compareChildren(shape, found->second, path);
  }

  void compareAttributes(const ElementShape& shape, const TiXmlElement* type, const std::string& path) {
    std::map<std::string, bool> written;  // name -> required
    std::map<std::string, std::string> documented;
    for (auto* a = type->FirstChildElement("xs:attribute"); a; a = a->NextSiblingElement("xs:attribute")) {
      written[attributeOf(a, "name")] = attributeOf(a, "use") == "required";
      TiXmlHandle text = TiXmlHandle(const_cast<TiXmlElement*>(a))
                             .FirstChildElement("xs:annotation")
                             .FirstChildElement("xs:documentation")
                             .FirstChild();
      if (text.ToText()) documented[attributeOf(a, "name")] = text.ToText()->Value();
    }
    bool anyAttribute = type->FirstChildElement("xs:anyAttribute") != nullptr;
    if (!shape.attributes) {
      if (!anyAttribute || !written.empty()) differences_.push_back(path + ": attributes not free");
      return;
    }
    for (const AttributeShape& attribute : *shape.attributes) {
      auto it = written.find(attribute.name);
      if (it == written.end()) {
        differences_.push_back(path + ": attribute " + attribute.name + " missing from the schema");
        continue;
      }
      if (it->second == attribute.optional) differences_.push_back(path + ": attribute " + attribute.name + " use");
      if (documented[attribute.name].find(attribute.deprecationWarning) == std::string::npos)
        differences_.push_back(path + ": attribute " + attribute.name + " lacks its deprecation warning");
      written.erase(it);
    }
    for (const auto& [name, required] : written)
      differences_.push_back(path + ": attribute " + name + " not in the reader's tables");
  }

  void compareChildren(const ElementShape& shape, const TiXmlElement* type, const std::string& path) {
    const TiXmlElement* choice = type->FirstChildElement("xs:choice");
    if (!shape.children) {
      if (choice) differences_.push_back(path + ": children not free");
      return;
    }
    if (!choice) return differences_.push_back(path + ": no children in the schema");
    std::map<std::string, std::string> written;  // name -> type
    for (auto* e = choice->FirstChildElement("xs:element"); e; e = e->NextSiblingElement("xs:element"))
      written[attributeOf(e, "name")] = attributeOf(e, "type");
    if (written.erase("block") != 1) differences_.push_back(path + ": no block");
    for (const ElementShape& child : *shape.children) {
      auto it = written.find(child.name);
      if (it == written.end()) {
        differences_.push_back(path + ": element " + child.name + " missing from the schema");
        continue;
      }
      compare(child, it->second, path + "/" + child.name);
      written.erase(it);
    }
    for (const auto& [name, typeName] : written)
      differences_.push_back(path + ": element " + name + " not in the reader's tables");
  }

  TiXmlDocument document_;
  std::map<std::string, const TiXmlElement*> types_;
  std::set<std::string> compared_;
  std::vector<std::string> differences_;
};

TEST(Schema, XsdHoldsEveryElementAndAttributeOfTheReaderAndNoOther) {
  ElementShape root = walkReader();
  EXPECT_EQ(XsdComparison(writeXsd(root)).differences(root), std::vector<std::string>{});
}

TEST(Schema, ComparisonNoticesAnElementOrAttributeOnOneSideOnly) {
  ElementShape root = walkReader();
  std::string xsd = writeXsd(root);
  ElementShape extra = root;
  extra.children->push_back({"extra_element", std::vector<AttributeShape>{}, std::nullopt});
  (*extra.children)[0].attributes->push_back({"extra_attribute", true, "string8_t", {}, {}, {}});
  EXPECT_EQ(XsdComparison(xsd).differences(extra),
            (std::vector<std::string>{"root/group: attribute extra_attribute missing from the schema",
                                      "root: element extra_element missing from the schema"}));
  ElementShape fewer = root;
  fewer.children->pop_back();
  EXPECT_EQ(XsdComparison(xsd).differences(fewer),
            std::vector<std::string>{"root: element settings not in the reader's tables"});
}

TEST(ElementTypes, OneTypePerShapeNamedAfterItsFirstPlace) {
  ElementShape root = walkReader();
  ElementTypes types(root, "configuration");
  EXPECT_EQ(types.typeOf(*childNamed(root, "component")), "component");
  EXPECT_EQ(types.typeOf(*childNamed(*childNamed(root, "assembly"), "component")), "assembly.component");
  EXPECT_EQ(types.typeOf(*childNamed(*childNamed(root, "on_demand_task"), "settings")), "task_type.settings");
  EXPECT_EQ(types.placeOf("depends"), "Stands in: service, task_type, monitoring_task.");
  EXPECT_EQ(types.placeOf("task_type.settings"), "Stands in: task_type, on_demand_task, monitoring_task.");
  EXPECT_EQ(types.placeOf("service"), "Stands in: the root element.");
  EXPECT_EQ(types.placeOf("configuration"), "");
}

TEST(ReaderWalk, ElementsStandWhereTheReaderDispatchesThem) {
  ElementShape root = walkReader();
  for (const char* parent : {"service", "task_type", "monitoring_task"})
    ASSERT_TRUE(childNamed(*childNamed(root, parent), "depends")) << parent;
  EXPECT_FALSE(childNamed(*childNamed(root, "on_demand_task"), "depends"));
  const ElementShape* assembly = childNamed(root, "assembly");
  ASSERT_TRUE(childNamed(*assembly, "component"));
  EXPECT_EQ(childNamed(*assembly, "component")->attributes->size(), 1u);
  EXPECT_NE(*childNamed(*assembly, "component"), *childNamed(root, "component"));
}

TEST(ReaderWalk, UnexaminedPartsAreFree) {
  ElementShape root = walkReader();
  const ElementShape* host = childNamed(root, "host");
  EXPECT_TRUE(host->attributes && !host->children);
  const ElementShape* categories = childNamed(root, "updatable_categories_config");
  EXPECT_TRUE(!categories->attributes && categories->children);
  // A schedule is read by the schedule deserializer, not through tables.
  const ElementShape* schedule = childNamed(*childNamed(root, "on_demand_task"), "schedule");
  EXPECT_TRUE(!schedule->attributes && !schedule->children);
  const ElementShape* taskSettings = childNamed(*childNamed(root, "task_type"), "settings");
  EXPECT_TRUE(!taskSettings->attributes && childNamed(*taskSettings, "common"));
}

TEST(ReaderWalk, RequiredAndKindsComeFromTheTables) {
  ElementShape root = walkReader();
  const ElementShape* host = childNamed(root, "host");
  const AttributeShape* prototype = attributeNamed(*host, "prototype");
  ASSERT_TRUE(prototype);
  EXPECT_FALSE(prototype->optional);
  EXPECT_EQ(prototype->keywords, (std::vector<std::string>{"true", "false"}));
  const AttributeShape* priority = attributeNamed(*childNamed(root, "service"), "lookup_priority");
  EXPECT_TRUE(priority->optional);
  EXPECT_EQ(priority->keywords.size(), 6u);
  EXPECT_FALSE(priority->otherTexts.empty());
}

TEST(ReaderWalk, DeprecatedAttributesCarryTheReadersWarning) {
  ElementShape root = walkReader();
  const ElementShape* service = childNamed(root, "service");
  EXPECT_EQ(attributeNamed(*service, "autostart")->deprecationWarning, "Attribute 'autostart' is deprecated");
  EXPECT_EQ(attributeNamed(*service, "create_service_during_update")->deprecationWarning,
            "Attribute 'create_service_during_update' is deprecated, use 'create_on_update' instead.");
  EXPECT_EQ(attributeNamed(*service, "accessibility")->deprecationWarning,
            "Attribute 'accessibility' is deprecated, use 'lookup_priority' instead");
  EXPECT_EQ(attributeNamed(*childNamed(root, "settings"), "entity")->deprecationWarning,
            "Attribute 'entity' is deprecated, (treated as 'service'), use 'service' or 'task' instead");
  EXPECT_EQ(attributeNamed(*childNamed(*service, "settings"), "unique_id")->deprecationWarning,
            "Attribute 'unique_id' is deprecated");
  EXPECT_EQ(attributeNamed(*service, "name")->deprecationWarning, "");
}

}  // namespace
}  // namespace app_core::schema

// Rendering tests: an in-memory store with the engines' and the tool
// definitions' metamodels, a builder of small diagrams, and the SVG read back
// with expat into a tree to query.
#pragma once

#include <expat.h>
#include <gtest/gtest.h>

#include <functional>
#include <list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "host/base/Model.h"
#include "host/head/Session.h"
#include "platform/repository.h"
#include "runtime/GraphExchange.h"

namespace rendertest {

struct XmlNode {
  std::string name;
  std::map<std::string, std::string> attributes;
  std::string text;             // character data directly inside
  std::list<XmlNode> children;  // a list: parents are pointed at
  XmlNode* parent = nullptr;

  std::string attr(const std::string& key) const {
    auto found = attributes.find(key);
    return found == attributes.end() ? "" : found->second;
  }
  bool hasClass(const std::string& cls) const {
    std::string classes = " " + attr("class") + " ";
    return classes.find(" " + cls + " ") != std::string::npos;
  }
  // Every node below (depth first, document order) that satisfies TEST.
  void collect(const std::function<bool(const XmlNode&)>& test,
               std::vector<const XmlNode*>& found) const {
    for (const XmlNode& child : children) {
      if (test(child)) found.push_back(&child);
      child.collect(test, found);
    }
  }
  std::vector<const XmlNode*> all(const std::function<bool(const XmlNode&)>& test) const {
    std::vector<const XmlNode*> found;
    collect(test, found);
    return found;
  }
  std::vector<const XmlNode*> named(const std::string& element) const {
    return all([&](const XmlNode& node) { return node.name == element; });
  }
  const XmlNode* byId(const std::string& id) const {
    auto found = all([&](const XmlNode& node) { return node.attr("id") == id; });
    return found.empty() ? nullptr : found.front();
  }
  // The first child element named ELEMENT with class CLS ("" for any).
  const XmlNode* child(const std::string& element, const std::string& cls = "") const {
    for (const XmlNode& node : children)
      if (node.name == element && (cls.empty() || node.hasClass(cls))) return &node;
    return nullptr;
  }
  // The same, for a child the test can not go on without.
  const XmlNode& need(const std::string& element, const std::string& cls = "") const {
    if (const XmlNode* found = child(element, cls)) return *found;
    throw std::runtime_error("no <" + element + "> of class \"" + cls + "\" in <" + name + ">");
  }
  bool isInside(const XmlNode* ancestor) const {
    for (const XmlNode* at = parent; at; at = at->parent)
      if (at == ancestor) return true;
    return false;
  }
};

struct ParsedXml {
  std::unique_ptr<XmlNode> document = std::make_unique<XmlNode>();
  std::string error;  // empty when the text is well-formed
  const XmlNode& root() const {
    if (document->children.empty()) throw std::runtime_error("no root element");
    return document->children.front();
  }
};

inline ParsedXml parseXml(const std::string& text) {
  ParsedXml parsed;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XmlNode* current = parsed.document.get();
  XML_SetUserData(parser, &current);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* name, const XML_Char** attributes) {
        XmlNode*& at = *static_cast<XmlNode**>(data);
        XmlNode& node = at->children.emplace_back();
        node.name = name;
        for (int i = 0; attributes[i]; i += 2) node.attributes[attributes[i]] = attributes[i + 1];
        node.parent = at;
        at = &node;
      },
      [](void* data, const XML_Char*) {
        XmlNode*& at = *static_cast<XmlNode**>(data);
        at = at->parent;
      });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* chars, int length) {
    (*static_cast<XmlNode**>(data))->text.append(chars, static_cast<std::size_t>(length));
  });
  if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_ERROR)
    parsed.error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                   std::to_string(XML_GetCurrentLineNumber(parser));
  XML_ParserFree(parser);
  return parsed;
}

// The texts of the compartment text elements under NODE, in document order.
inline std::vector<std::string> compartmentTexts(const XmlNode& node) {
  std::vector<std::string> texts;
  for (const XmlNode* text :
       node.all([](const XmlNode& n) { return n.name == "text" && n.hasClass("compartment"); }))
    texts.push_back(text->text);
  return texts;
}

using Values = std::vector<std::pair<std::string, std::string>>;

// A store with the metamodels the diagram engine and the tool definitions
// declare, and helpers that build diagrams in it.
class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RepOpenMemory()) << RepLastError();
    for (const char* metamodel :
         {"GraphDiagramEngineMetamodel.txt", "TypeAndMappingMetamodel.txt"}) {
      ExchangeImportReport report =
          importExchangeFile((grhost::programFolder() / "metamodels" / metamodel).string());
      ASSERT_TRUE(report.ended) << metamodel;
    }
    diagram_ = grhost::model::create("GraphDiagram");
    grhost::model::setAttribute(diagram_, "caption", "Test diagram");
  }
  void TearDown() override { RepCloseProject(); }

  static RepId object(const std::string& className, const Values& values = {}) {
    RepId created = grhost::model::create(className);
    for (const auto& [name, value] : values)
      EXPECT_TRUE(grhost::model::setAttribute(created, name, value)) << name;
    return created;
  }
  // An element of the diagram drawn in STYLE (0: none), at LOCATION ("": none).
  RepId element(const std::string& className, RepId style = 0, const std::string& location = "") {
    RepId created = object(className);
    grhost::model::link(diagram_, "element", created);
    if (style) grhost::model::link(created, "elemStyle", style);
    if (!location.empty()) grhost::model::setAttribute(created, "location", location);
    return created;
  }
  RepId node(RepId style = 0, const std::string& location = "") {
    return element("Node", style, location);
  }
  RepId edge(RepId from, RepId to, RepId style = 0, const std::string& location = "") {
    RepId created = element("Edge", style, location);
    grhost::model::link(created, "start", from);
    grhost::model::link(created, "end", to);
    return created;
  }
  RepId port(RepId owner, RepId style = 0, const std::string& location = "") {
    RepId created = element("Port", style, location);
    grhost::model::link(created, "node", owner);
    return created;
  }
  static void nest(RepId child, RepId container) {
    grhost::model::link(child, "container", container);
  }
  static RepId compartment(RepId owner, const std::string& input, RepId style = 0) {
    RepId created = object("Compartment", {{"input", input}});
    grhost::model::link(owner, "compartment", created);
    if (style) grhost::model::link(created, "compartStyle", style);
    return created;
  }
  static std::string location(RepId element) {
    return grhost::model::attribute(element, "location");
  }

  RepId diagram_ = 0;
};

}  // namespace rendertest

// The text of a shared area: a diagram written and read back is the same
// diagram, in the same order, on the same types and styles; what lies
// outside its extent stays out; a text that is broken or names what the
// project lacks changes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "host/multiuser/AreaCodec.h"
#include "tests/host/HostFixture.h"

namespace {

using namespace grhost;
namespace m = grhost::model;

// What people and tools read in an area (GR_UPDATE_GOLDEN=1 writes it anew).
const std::string kGolden = std::string(GR_SOURCE_DIR) + "/tests/host/multiuser/golden/area.json";

const shared::AreaExtent kExtent{
    "GraphDiagram.graphDiagramType-_L0_Func_getLOforGDType;Element.elemType-_L0_Func_"
    "getLOforElemType;Element.elemStyle-_L0_Func_getLOforElemStyle;Compartment.compartType-_L0_"
    "Func_getLOforCompartType;Compartment.compartStyle-_L0_Func_getLOforCompartStyle",
    "GraphDiagram;Element;Compartment",
    "GraphDiagram.element;Element.compartment;Compartment.subCompartment;Element.eStart;Element."
    "eEnd;Node.component;Node.port"};

RepId with(const std::string& className, const std::string& id) {
  RepId object = m::create(className);
  m::setAttribute(object, "id", id);
  return object;
}

class AreaCodecTest : public HostTest {
 protected:
  void SetUp() override {
    create();
    ASSERT_TRUE(head().loadMetamodel("TypeAndMappingMetamodel"));
    transaction_ = std::make_unique<m::SaveTransaction>();
    diagramType = with("GraphDiagramType", "T");
    // Two element types of one id under two diagram types: told apart by owner.
    RepId otherType = with("GraphDiagramType", "U");
    m::link(otherType, "elemType", with("NodeType", "Box"));
    boxType = with("NodeType", "Box");
    m::link(diagramType, "elemType", boxType);
    boxStyle = with("NodeStyle", "Plain");
    m::link(boxType, "elemStyle", boxStyle);
    nameType = with("CompartType", "Name");
    m::link(boxType, "compartType", nameType);
    partType = with("CompartType", "Part");
    m::link(nameType, "subCompartType", partType);
  }
  void TearDown() override {
    transaction_.reset();
    HostTest::TearDown();
  }

  RepId box(RepId diagram, const std::string& name) {
    RepId node = m::create("Node");
    m::link(diagram, "element", node);
    m::link(node, "elemType", boxType);
    m::link(node, "elemStyle", boxStyle);
    m::setAttribute(node, "location", "10 20 110 45");
    RepId compartment = m::create("Compartment");
    m::link(node, "compartment", compartment);
    m::link(compartment, "compartType", nameType);
    m::setAttribute(compartment, "value", name);
    RepId part = m::create("Compartment");
    m::link(compartment, "subCompartment", part);
    m::link(part, "compartType", partType);
    m::setAttribute(part, "input", name + " part");
    return node;
  }

  // A diagram of three boxes, the last inside the first, a pin and a line,
  // and links to what lies outside: a selection and a child diagram.
  RepId drawn() {
    RepId diagram = m::create("GraphDiagram");
    m::setAttribute(diagram, "caption", "Ūdens");
    m::link(diagram, "graphDiagramType", diagramType);
    RepId a = box(diagram, "A"), b = box(diagram, "B"), c = box(diagram, "C");
    m::link(a, "component", c);
    RepId pin = m::create("Port");
    m::link(diagram, "element", pin);
    m::link(a, "port", pin);
    RepId edge = m::create("Edge");
    m::link(diagram, "element", edge);
    m::link(pin, "eStart", edge);
    m::link(b, "eEnd", edge);
    RepId selection = m::create("Collection");
    m::link(diagram, "collection", selection);
    m::link(selection, "element", b);
    RepId child = m::create("GraphDiagram");
    m::link(b, "target", child);
    return diagram;
  }

  // The text without the ids the objects had when it was written.
  static nlohmann::json withoutIds(const std::string& text) {
    nlohmann::json document = nlohmann::json::parse(text);
    for (nlohmann::json& object : document["objects"]) object.erase("id");
    return document;
  }

  static std::size_t objectCount() {
    return m::objectsOf("GraphDiagram").size() + m::objectsOf("Element").size() +
           m::objectsOf("Compartment").size();
  }

  const shared::AreaCodec& codec = shared::jsonAreaCodec();
  std::unique_ptr<m::SaveTransaction> transaction_;
  RepId diagramType = 0, boxType = 0, boxStyle = 0, nameType = 0, partType = 0;
};

TEST_F(AreaCodecTest, ADiagramReadBackIsTheSameDiagram) {
  RepId original = drawn();
  std::string text = codec.write(original, kExtent);
  RepId copy = codec.read(text, 0);
  ASSERT_NE(copy, original);
  EXPECT_EQ(withoutIds(codec.write(copy, kExtent)), withoutIds(text));
  // On the project's own types and styles, not on copies of them.
  std::vector<RepId> elements = m::partners(copy, "element");
  ASSERT_EQ(elements.size(), 5u);
  EXPECT_EQ(m::firstPartner(elements[0], "elemType"), boxType);
  EXPECT_EQ(m::firstPartner(elements[0], "elemStyle"), boxStyle);
  EXPECT_EQ(m::firstPartner(copy, "graphDiagramType"), diagramType);
  RepId name = m::firstPartner(elements[1], "compartment");
  EXPECT_EQ(m::attribute(name, "value"), "B");
  EXPECT_EQ(m::attribute(m::firstPartner(name, "subCompartment"), "input"), "B part");
  EXPECT_EQ(m::firstPartner(m::firstPartner(name, "subCompartment"), "compartType"), partType);
  EXPECT_EQ(m::partners(elements[0], "component"), std::vector<RepId>{elements[2]});
  EXPECT_EQ(m::firstPartner(elements[4], "start"), elements[3]);
  EXPECT_EQ(m::attribute(copy, "caption"), "Ūdens");
  // The selection and the child diagram are not the area's.
  EXPECT_EQ(m::firstPartner(copy, "collection"), 0u);
  EXPECT_EQ(m::firstPartner(elements[1], "target"), 0u);
}

TEST_F(AreaCodecTest, TheTextOfADiagramIsTheGoldenOne) {
  // The ids are the store's object ids of the moment; the rest is the
  // format. One line for the head, then one per object.
  nlohmann::json document = withoutIds(codec.write(drawn(), kExtent));
  std::string actual;
  for (const nlohmann::json& object : document["objects"]) actual += object.dump() + "\n";
  document.erase("objects");
  actual = document.dump() + "\n" + actual;
  if (std::getenv("GR_UPDATE_GOLDEN")) std::ofstream(kGolden, std::ios::binary) << actual;
  std::ifstream in(kGolden, std::ios::binary);
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(actual, expected.str()) << "GR_UPDATE_GOLDEN=1 writes " << kGolden;
}

TEST_F(AreaCodecTest, ReadingIntoADiagramReplacesWhatItHeldAndKeepsTheDiagram) {
  RepId original = drawn();
  std::string text = codec.write(original, kExtent);
  RepId local = m::create("GraphDiagram");
  m::setAttribute(local, "caption", "old");
  m::setAttribute(local, "bkgColor", "123");
  RepId stale = box(local, "stale");
  RepId pointer = m::create("CurrentDgrPointer");
  m::link(pointer, "graphDiagram", local);
  EXPECT_EQ(codec.read(text, local), local);
  EXPECT_FALSE(ObjectExists(stale));
  EXPECT_EQ(m::partners(local, "element").size(), 5u);
  EXPECT_EQ(m::attribute(local, "caption"), "Ūdens");
  EXPECT_EQ(m::attribute(local, "bkgColor"), "");
  EXPECT_EQ(m::firstPartner(pointer, "graphDiagram"), local);
  EXPECT_EQ(withoutIds(codec.write(local, kExtent)), withoutIds(text));
}

TEST_F(AreaCodecTest, AValueOfAWrittenObjectCanBeSetInTheText) {
  RepId original = drawn();
  RepId b = m::partners(original, "element")[1];
  std::string text = codec.write(original, kExtent);
  EXPECT_TRUE(codec.holds(text, b));
  EXPECT_FALSE(codec.holds(text, diagramType));
  std::string changed = codec.withValue(text, b, "targetDiagramRemoteId", "r1");
  RepId copy = codec.read(changed, 0);
  EXPECT_EQ(m::attribute(m::partners(copy, "element")[1], "targetDiagramRemoteId"), "r1");
  EXPECT_EQ(codec.extentOf(text).traversalRoles, kExtent.traversalRoles);
}

TEST_F(AreaCodecTest, ABrokenTextOrOneNamingWhatTheProjectLacksChangesNothing) {
  RepId original = drawn();
  std::string text = codec.write(original, kExtent);
  nlohmann::json document = nlohmann::json::parse(text);
  auto variant = [&](auto change) {
    nlohmann::json copy = document;
    change(copy);
    return copy.dump();
  };
  std::vector<std::pair<std::string, std::string>> broken = {
      {"no JSON", "{\"objects\": ["},
      {"another format", variant([](nlohmann::json& d) { d["format"] = "other"; })},
      {"an unknown class",
       variant([](nlohmann::json& d) { d["objects"][1]["class"] = "Nothing"; })},
      {"an unknown attribute",
       variant([](nlohmann::json& d) { d["objects"][1]["values"]["colour"] = "red"; })},
      {"a link out of the text",
       variant([](nlohmann::json& d) { d["objects"][0]["links"]["element"][0] = 99; })},
      {"a type the project lacks", variant([](nlohmann::json& d) {
         d["objects"][1]["references"]["elemType"][0][1]["id"] = "Gone";
       })},
      {"no diagram first", variant([](nlohmann::json& d) { d["objects"][0]["class"] = "Node"; })},
  };
  RepId local = m::create("GraphDiagram");
  box(local, "kept");
  std::size_t before = objectCount();
  for (const auto& [what, bad] : broken) {
    EXPECT_THROW(codec.read(bad, local), shared::AreaTextError) << what;
    EXPECT_EQ(objectCount(), before) << what;
    EXPECT_EQ(m::partners(local, "element").size(), 1u) << what;
  }
}

}  // namespace

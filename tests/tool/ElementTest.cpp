#include "ToolFixture.h"
#include "tool/Commands.h"
#include "tool/Element.h"

L0_TRANSFORMATION void L0_Func_NewBox();
L0_TRANSFORMATION void L0_Func_NewLine();
L0_TRANSFORMATION void L0_Func_NewFreeBox();

namespace {

// Boxes A (with subtype A2) and B, a container type C, lines between them.
class ElementTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    a = type("NodeType", "A");
    a2 = type("NodeType", "A2");
    a2.addLink(a, "supertype");
    b = type("NodeType", "B");
    c = type("NodeType", "C");
    boxA = paletteEntry("PaletteBox", "Box A", {a});
    boxA2 = paletteEntry("PaletteBox", "Box A2", {a2});
    boxB = paletteEntry("PaletteBox", "Box B", {b});
  }

  // Draws a box from the palette entry, inside PARENT when given.
  L0_Var_2 drawBox(L0_Var_2 entry, L0_Var_2 parent = L0_Var_2("Node")) {
    std::size_t before = all("Node").size();
    L0_Var_2 event = create("NewBoxEvent");
    event.addLink(entry, "paletteBox");
    if (!parent.isNull()) event.addLink(parent, "node");
    L0_Func_NewBox();
    EXPECT_TRUE(all("NewBoxEvent").empty());
    Objects nodes = all("Node");
    return nodes.size() > before ? nodes.back() : L0_Var_2("Node");
  }
  L0_Var_2 drawLine(L0_Var_2 entry, L0_Var_2 from, L0_Var_2 to) {
    L0_Var_2 event = create("NewLineEvent");
    event.addLink(entry, "paletteLine");
    event.addLink(from, "start");
    event.addLink(to, "end");
    std::size_t before = all("Edge").size();
    L0_Func_NewLine();
    Objects edges = all("Edge");
    return edges.size() > before ? edges.back() : L0_Var_2("Edge");
  }

  L0_Var_2 a, a2, b, c, boxA, boxA2, boxB;
};

TEST_F(ElementTest, ANewBoxGetsTypeDiagramStyleCompartmentsAndCommands) {
  L0_Var_2 name = create("CompartType");
  name.setAttr("isEssential", "true");
  name.setAttr("startValue", "unnamed");
  a.addLink(name, "compartType");
  L0_Var_2 optional = create("CompartType");
  a.addLink(optional, "compartType");
  L0_Var_2 node = drawBox(boxA);
  ASSERT_FALSE(node.isNull());
  EXPECT_EQ(first(node, "elemType"), a);
  EXPECT_EQ(first(node, "graphDiagram"), diagram);
  EXPECT_EQ(first(node, "elemStyle"), first(a, "elemStyle"));
  Objects compartments = over(node, "compartment");
  ASSERT_EQ(compartments.size(), 1u);
  EXPECT_EQ(attr(compartments[0], "value"), "unnamed");
  EXPECT_EQ(attr(node, "is_definition"), "false");
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"OkCmd", "ActiveElementCmd"}));
  a.setAttr("openPropertiesOnElementCreate", "true");
  drawBox(boxA);
  EXPECT_EQ(attr(commands().back(), "info"), "show_active_element_properties");
}

TEST_F(ElementTest, MultiplicityCountsSubtypesAgainstTheSupertype) {
  a.setAttr("multiplicityConstraint", "1");
  ASSERT_FALSE(drawBox(boxA2).isNull());
  EXPECT_TRUE(drawBox(boxA).isNull());
  EXPECT_EQ(host.information, (std::vector<std::string>{"A multiplicity constraint 1 violated"}));
  EXPECT_TRUE(drawBox(boxA2).isNull());
  // Another diagram has its own count.
  L0_Var_2 other = newDiagram();
  EXPECT_FALSE(L0_Func_add_node(a, other, L0_Var_2("Node")).isNull());
}

TEST_F(ElementTest, ContainmentIsCheckedAgainstTheParentAndItsSupertypes) {
  a.setAttr("isContainerMandatory", "true");
  EXPECT_TRUE(drawBox(boxA).isNull());
  EXPECT_EQ(host.information, (std::vector<std::string>{"A can't be inserted into "}));
  L0_Var_2 container = drawBox(boxB);
  EXPECT_TRUE(drawBox(boxA, container).isNull());
  EXPECT_EQ(host.information.back(), "A can't be inserted into B");
  a.addLink(b, "containerType");
  L0_Var_2 inside = drawBox(boxA, container);
  ASSERT_FALSE(inside.isNull());
  EXPECT_EQ(first(inside, "container"), container);
  // A subtype of A inherits where A may stand.
  EXPECT_FALSE(drawBox(boxA2, container).isNull());
}

TEST_F(ElementTest, AReversedPairStartsTheLineWhereTheDragEnded) {
  L0_Var_2 line = type("EdgeType", "L");
  pair(line, a, b, "true");  // matched in the drag's direction, stored reversed
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {line});
  L0_Var_2 from = drawBox(boxA), to = drawBox(boxB);
  L0_Var_2 edge = drawLine(lineEntry, from, to);
  ASSERT_FALSE(edge.isNull());
  EXPECT_EQ(first(edge, "start"), to);
  EXPECT_EQ(first(edge, "end"), from);
  EXPECT_EQ(over(to, "eStart"), (Objects{edge}));
}

TEST_F(ElementTest, ALineNoPairAdmitsIsRefusedWithTheCaptions) {
  L0_Var_2 line = type("EdgeType", "L");
  pair(line, a, a);
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Link", {line});
  L0_Var_2 from = drawBox(boxA), to = drawBox(boxB);
  EXPECT_TRUE(drawLine(lineEntry, from, to).isNull());
  EXPECT_EQ(host.information.back(), "A can't be connected to B with Link");
  EXPECT_TRUE(all("NewLineEvent").empty());
  // A subtype end is admitted by its supertype's pair.
  EXPECT_FALSE(drawLine(lineEntry, from, drawBox(boxA2)).isNull());
}

TEST_F(ElementTest, EdgeEndMultiplicityCountsEdgesAtTheElement) {
  L0_Var_2 line = type("EdgeType", "L");
  line.setAttr("endMultiplicityConstraint", "1");
  pair(line, a, b);
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {line});
  L0_Var_2 target = drawBox(boxB);
  EXPECT_FALSE(drawLine(lineEntry, drawBox(boxA), target).isNull());
  EXPECT_TRUE(drawLine(lineEntry, drawBox(boxA), target).isNull());
  EXPECT_EQ(host.information.back(), "L multiplicity constraint 1 violated");
}

TEST_F(ElementTest, MovingALineEndToWhatOnlyAnotherTypeAdmitsReplacesTheEdge) {
  L0_Var_2 toA = type("EdgeType", "toA");
  L0_Var_2 toB = type("EdgeType", "toB");
  pair(toA, a, a);
  pair(toB, a, b);
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {toA, toB});
  L0_Var_2 from = drawBox(boxA), firstEnd = drawBox(boxA), newEnd = drawBox(boxB);
  L0_Var_2 edge = drawLine(lineEntry, from, firstEnd);
  ASSERT_EQ(first(edge, "elemType"), toA);

  L0_Var_2 event = create("MoveLineEndPointEvent");
  event.addLink(edge, "edge");
  event.addLink(newEnd, "target");
  L0_Func_MoveLineEndPoint();
  EXPECT_FALSE(exists(L0_Var_2::fromObjectId(edge.getCurrObjID())));
  Objects edges = all("Edge");
  ASSERT_EQ(edges.size(), 1u);
  EXPECT_EQ(first(edges[0], "elemType"), toB);
  EXPECT_EQ(first(edges[0], "start"), from);
  EXPECT_EQ(first(edges[0], "end"), newEnd);
  EXPECT_TRUE(all("MoveLineEndPointEvent").empty());
}

TEST_F(ElementTest, MovingALineEndWithinItsTypeKeepsTheEdge) {
  L0_Var_2 line = type("EdgeType", "L");
  pair(line, a, a);
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {line});
  L0_Var_2 from = drawBox(boxA), oldEnd = drawBox(boxA), newEnd = drawBox(boxA2);
  L0_Var_2 edge = drawLine(lineEntry, from, oldEnd);
  L0_Var_2 event = create("MoveLineEndPointEvent");
  event.addLink(edge, "edge");
  event.addLink(newEnd, "target");
  L0_Func_MoveLineEndPoint();
  EXPECT_EQ(all("Edge"), (Objects{edge}));
  EXPECT_EQ(first(edge, "end"), newEnd);
  EXPECT_EQ(first(edge, "start"), from);
  EXPECT_EQ(first(edge, "elemType"), line);
  EXPECT_TRUE(over(oldEnd, "eEnd").empty());
}

// Model booleans are true when written "true" or "1".
TEST_F(ElementTest, FlagsWrittenAsOneAreTrue) {
  a.setAttr("openPropertiesOnElementCreate", "1");
  drawBox(boxA);
  EXPECT_EQ(attr(commands().back(), "info"), "show_active_element_properties");
  b.setAttr("isContainerMandatory", "1");
  EXPECT_TRUE(drawBox(boxB).isNull());
  L0_Var_2 line = type("EdgeType", "L");
  pair(line, a, b, "1");
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {line});
  b.setAttr("isContainerMandatory", "0");
  L0_Var_2 from = drawBox(boxA), to = drawBox(boxB);
  L0_Var_2 edge = drawLine(lineEntry, from, to);
  ASSERT_FALSE(edge.isNull());
  EXPECT_EQ(first(edge, "start"), to);
  EXPECT_TRUE(all("NewLineEvent").empty());
  // Any other mark is false: the line is drawn as dragged.
  pair(line, b, a, "yes");
  L0_Var_2 plain = drawLine(lineEntry, to, from);
  ASSERT_FALSE(plain.isNull());
  EXPECT_EQ(first(plain, "start"), to);
  EXPECT_TRUE(all("NewLineEvent").empty());
}

// D is both an S1 and an S2: it obeys the constraints of both.
TEST_F(ElementTest, EverySupertypesConstraintsCount) {
  L0_Var_2 s1 = type("NodeType", "S1"), s2 = type("NodeType", "S2"), d = type("NodeType", "D");
  d.addLink(s1, "supertype");
  d.addLink(s2, "supertype");
  L0_Var_2 boxD = paletteEntry("PaletteBox", "Box D", {d});
  s2.setAttr("multiplicityConstraint", "1");
  ASSERT_FALSE(drawBox(boxD).isNull());
  EXPECT_TRUE(drawBox(boxD).isNull());
  EXPECT_EQ(host.information.back(), "S2 multiplicity constraint 1 violated");
  s2.setAttr("multiplicityConstraint", "");

  // Containment: S2 may stand in B, so D may.
  s2.addLink(b, "containerType");
  L0_Var_2 container = drawBox(boxB);
  EXPECT_FALSE(drawBox(boxD, container).isNull());

  // Port attachment: a pin whose second supertype may sit on D's second supertype.
  L0_Var_2 p1 = type("PortType", "P1"), p2 = type("PortType", "P2"), pin = type("PortType", "P");
  pin.addLink(p1, "supertype");
  pin.addLink(p2, "supertype");
  p2.addLink(s2, "nodeType");
  EXPECT_FALSE(L0_Func_add_port(pin, diagram, drawBox(boxD)).isNull());

  // Edge multiplicity: the line's second supertype allows one line per start.
  L0_Var_2 e1 = type("EdgeType", "E1"), e2 = type("EdgeType", "E2"), line = type("EdgeType", "E");
  line.addLink(e1, "supertype");
  line.addLink(e2, "supertype");
  e2.setAttr("startMultiplicityConstraint", "1");
  pair(line, a, b);
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {line});
  L0_Var_2 start = drawBox(boxA);
  EXPECT_FALSE(drawLine(lineEntry, start, drawBox(boxB)).isNull());
  EXPECT_TRUE(drawLine(lineEntry, start, drawBox(boxB)).isNull());
  EXPECT_EQ(host.information.back(), "E2 multiplicity constraint 1 violated");
  EXPECT_TRUE(messages().empty()) << messages().front();
}

// A line type whose supertype is a box type, as the seed
// diagram's lines are subtypes of "fiction".
TEST_F(ElementTest, ASupertypeWithoutAConstraintsAttributeContributesNone) {
  L0_Var_2 fiction = type("NodeType", "fiction");
  L0_Var_2 line = type("EdgeType", "L");
  line.addLink(fiction, "supertype");
  fiction.setAttr("multiplicityConstraint", "5");
  pair(line, fiction, fiction);
  a.addLink(fiction, "supertype");
  L0_Var_2 lineEntry = paletteEntry("PaletteLine", "Line", {line});
  EXPECT_FALSE(drawLine(lineEntry, drawBox(boxA), drawBox(boxA)).isNull());
  EXPECT_TRUE(messages().empty()) << messages().front();
}

TEST_F(ElementTest, ReadOnlyDiagramsRefuseDrawingButLoseTheEvent) {
  diagram.setAttr("isReadOnly", "true");
  EXPECT_TRUE(drawBox(boxA).isNull());
  EXPECT_TRUE(commands().empty());
}

TEST_F(ElementTest, AFreeBoxTakesItsGeometryFromTheEvent) {
  L0_Var_2 freeType = type("ElemType", "free");
  L0_Var_2 entry = paletteEntry("PaletteFreeBox", "Free", {freeType});
  L0_Var_2 event = create("NewFreeBoxEvent");
  event.addLink(entry, "paletteFreeBox");
  event.setAttr("info", "120;40;10;20");
  L0_Func_NewFreeBox();
  Objects boxes = all("FreeBox");
  ASSERT_EQ(boxes.size(), 1u);
  expectValues(
      boxes[0],
      {{"freeBox_w", "120"}, {"freeBox_h", "40"}, {"freeBox_x", "10"}, {"freeBox_y", "20"}});
  L0_Var_2 edited = create("FreeBoxEditedEvent");
  edited.addLink(boxes[0], "element");
  edited.setAttr("info", "30,31\\5,6");
  L0_Func_FreeBoxEdited();
  expectValues(boxes[0],
               {{"freeBox_w", "30"}, {"freeBox_h", "31"}, {"freeBox_x", "5"}, {"freeBox_y", "6"}});
}

TEST_F(ElementTest, PropertiesOnCreationAreThoseOfTheActiveElementsType) {
  a.setAttr("procProperties", "grtest_procedures#object_entry");
  L0_Var_2 node = drawBox(boxA);
  L0_Func_show_active_element_properties();
  EXPECT_TRUE(messages().empty());  // nothing is active yet
  L0_Var_2 other = drawBox(boxB);
  select({node, other});
  L0_Func_show_active_element_properties();
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"object entry got " + std::to_string(node.getCurrObjID())}));
}

TEST_F(ElementTest, ExecTransfReportsAMissingOrEmptyEvent) {
  L0_Func_ExecTransf();
  L0_Var_2 event = create("ExecTransfEvent");
  L0_Func_ExecTransf();
  EXPECT_EQ(messages(),
            (std::vector<std::string>{"ExecTransf Error, NoEventError.",
                                      "ExecTransf Error, UnknownTransformationError."}));
  EXPECT_TRUE(all("ExecTransfEvent").empty());
}

}  // namespace

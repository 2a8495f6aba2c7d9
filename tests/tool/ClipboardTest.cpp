#include "ToolFixture.h"
#include "host/base/OrphanCheck.h"
#include "tool/Compartment.h"
#include "tool/Copycollection.h"
#include "tool/Deletecollection.h"
#include "tool/Element.h"
#include "tool/Pastegraphclipboard.h"

namespace {

// Boxes with ports, contained boxes and lines; the clipboard of the project.
class ClipboardTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    clipboard = create("GraphClipboard");
    box = type("NodeType", "box");
    box.addLink(box, "containerType");
    pin = type("PortType", "pin");
    pin.addLink(box, "nodeType");
    line = type("EdgeType", "line");
    pair(line, box, box);
    name = create("CompartType");
    name.setAttr("id", "Name");
    name.setAttr("isEssential", "true");
    box.addLink(name, "compartType");
  }

  L0_Var_2 newBox(const std::string& label, L0_Var_2 parent = L0_Var_2("Node")) {
    L0_Var_2 node = L0_Func_create_node(box, diagram, parent);
    L0_Func_set_compartment_value(first(node, "compartment"), label);
    return node;
  }
  L0_Var_2 newPort(L0_Var_2 node) { return L0_Func_create_port(pin, diagram, node); }
  L0_Var_2 newLine(L0_Var_2 from, L0_Var_2 to) {
    return L0_Func_create_edge(diagram, line, from, to);
  }
  static std::string label(const L0_Var_2& element) {
    return attr(first(element, "compartment"), "value");
  }
  Objects clipboardElements() { return over(clipboard, "element"); }
  static bool anyCopyLinks() {
    for (const L0_Var_2& element : all("Element"))
      if (!first(element, "copy").isNull()) return true;
    return false;
  }
  void copySelection() {
    L0_Func_copy(L0_Var_2());
    L0_Func_finishCopyCollection();
  }
  void paste() {
    create("PasteGraphClipboardEvent");
    L0_Func_PasteGraphClipboard();
  }

  L0_Var_2 clipboard, box, pin, line, name;
};

TEST_F(ClipboardTest, CopyingAnEdgeBringsItsUnselectedEndAndPastingSelectsTheCopies) {
  L0_Var_2 source = newBox("source");
  L0_Var_2 port = newPort(source);
  L0_Var_2 target = newBox("target");
  L0_Var_2 edge = newLine(port, target);
  select({source, edge});
  L0_Func_copy(L0_Var_2());
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"SaveDgrCmd", "ExecTransfCmd"}));
  EXPECT_EQ(attr(commands()[1], "info"), "finishCopyCollection");
  L0_Func_finishCopyCollection();

  Objects held = clipboardElements();
  EXPECT_EQ(classes(held), (std::vector<std::string>{"Node", "Port", "Node", "Edge"}));
  EXPECT_EQ(label(held[2]), "target");
  EXPECT_FALSE(anyCopyLinks());
  EXPECT_EQ(first(held[3], "start"), held[1]);
  EXPECT_EQ(first(held[3], "end"), held[2]);
  EXPECT_TRUE(first(held[0], "graphDiagram").isNull());

  paste();
  Objects inDiagram = over(diagram, "element");
  ASSERT_EQ(inDiagram.size(), 8u);
  Objects pasted(inDiagram.begin() + 4, inDiagram.end());
  L0_Var_2 selectCmd = commands().back();
  EXPECT_EQ(getClassName(selectCmd), "ActiveElementCmd");
  EXPECT_EQ(over(selectCmd, "element"), pasted);
  L0_Var_2 pastedEdge = pasted[3];
  EXPECT_EQ(first(pastedEdge, "start"), first(pasted[0], "port"));
  EXPECT_EQ(label(first(pastedEdge, "end")), "target");
  EXPECT_FALSE(anyCopyLinks());
  // One PasteCmd gathers every pasted element of the diagram.
  Objects pasteCommands;
  for (const L0_Var_2& command : commands())
    if (getClassName(command) == "PasteCmd") pasteCommands.push_back(command);
  ASSERT_EQ(pasteCommands.size(), 1u);
  EXPECT_EQ(over(pasteCommands[0], "element"), pasted);
}

TEST_F(ClipboardTest, AnElementReachedTwiceIsCopiedOnce) {
  L0_Var_2 a = newBox("a"), b = newBox("b");
  L0_Var_2 ab = newLine(a, b), ba = newLine(b, a);
  select({ab, ba, a});
  copySelection();
  EXPECT_EQ(classes(clipboardElements()),
            (std::vector<std::string>{"Node", "Node", "Edge", "Edge"}));
  // A second copy replaces the clipboard's content.
  copySelection();
  EXPECT_EQ(clipboardElements().size(), 4u);
  EXPECT_EQ(all("Node").size(), 4u);
}

TEST_F(ClipboardTest, PastingTwiceGivesIndependentCopies) {
  L0_Var_2 a = newBox("a");
  select({a});
  copySelection();
  paste();
  paste();
  Objects nodes = over(diagram, "element");
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_NE(nodes[1], nodes[2]);
  EXPECT_NE(first(nodes[1], "compartment"), first(nodes[2], "compartment"));
  L0_Func_set_compartment_value(first(nodes[1], "compartment"), "changed");
  EXPECT_EQ(label(nodes[2]), "a");
  EXPECT_EQ(label(a), "a");
  EXPECT_EQ(label(clipboardElements()[0]), "a");
  EXPECT_FALSE(anyCopyLinks());
}

TEST_F(ClipboardTest, DeletingANodeTakesPortsContainedNodesAndAttachedEdges) {
  L0_Var_2 outer = newBox("outer");
  L0_Var_2 inner = newBox("inner", outer);
  L0_Var_2 innerPort = newPort(inner);
  L0_Var_2 outside = newBox("outside");
  L0_Var_2 toInnerPort = newLine(outside, innerPort);
  L0_Var_2 toOuter = newLine(outer, outside);
  L0_Var_2 unrelated = newLine(outside, outside);
  select({outer});
  create("DeleteCollectionEvent");
  L0_Func_DeleteCollection();
  EXPECT_EQ(over(diagram, "element"), (Objects{outside, unrelated}));
  for (const L0_Var_2& gone : {inner, innerPort, toInnerPort, toOuter}) EXPECT_TRUE(gone.isNull());
  EXPECT_EQ(all("Compartment").size(), 1u);  // the outside box's name
  EXPECT_TRUE(all("DeleteCollectionEvent").empty());
  EXPECT_EQ(getClassName(commands().back()), "OkCmd");
}

TEST_F(ClipboardTest, AReadOnlyDiagramOnlyLosesTheEvent) {
  L0_Var_2 a = newBox("a");
  select({a});
  copySelection();
  diagram.setAttr("isReadOnly", "true");
  std::size_t before = commands().size();
  paste();
  EXPECT_EQ(over(diagram, "element").size(), 1u);
  EXPECT_EQ(commands().size(), before);
  EXPECT_TRUE(all("PasteGraphClipboardEvent").empty());
  create("DeleteCollectionEvent");
  L0_Func_DeleteCollection();
  EXPECT_FALSE(a.isNull());
}

TEST_F(ClipboardTest, PasteSkipsElementsOfAnotherDiagramType) {
  L0_Var_2 a = newBox("a");
  select({a});
  copySelection();
  L0_Var_2 otherType = create("GraphDiagramType");
  L0_Var_2 foreign = create("GraphDiagram");
  foreign.addLink(otherType, "graphDiagramType");
  L0_Var_2 pointer = all("CurrentDgrPointer")[0];
  pointer.deleteLink(diagram, "graphDiagram");
  pointer.addLink(foreign, "graphDiagram");
  paste();
  EXPECT_TRUE(over(foreign, "element").empty());
}

// The attempt to nest a pasted box in the selection is quiet when it fails.
TEST_F(ClipboardTest, PastingWhileTheCopiedBoxIsSelectedSaysNothing) {
  L0_Var_2 plain = type("NodeType", "plain");
  L0_Var_2 a = L0_Func_create_node(plain, diagram, L0_Var_2("Node"));
  select({a});
  copySelection();
  paste();
  Objects nodes = over(diagram, "element");
  ASSERT_EQ(nodes.size(), 2u);
  EXPECT_TRUE(first(nodes[1], "container").isNull());
  EXPECT_TRUE(host.information.empty()) << host.information.front();
  // Where nesting is allowed it happens.
  select({newBox("holder")});
  paste();
  EXPECT_TRUE(first(over(diagram, "element").back(), "container").isNull());
  L0_Var_2 boxCopy = newBox("b");
  select({boxCopy});
  copySelection();
  paste();
  EXPECT_EQ(first(over(diagram, "element").back(), "container"), boxCopy);
}

// Each supertype's multiplicity counts when a paste decides what fits.
TEST_F(ClipboardTest, PasteSkipsWhatAnySupertypesMultiplicityForbids) {
  L0_Var_2 s1 = type("NodeType", "S1"), s2 = type("NodeType", "S2"), d = type("NodeType", "D");
  d.addLink(s1, "supertype");
  d.addLink(s2, "supertype");
  s2.setAttr("multiplicityConstraint", "1");
  L0_Var_2 only = L0_Func_create_node(d, diagram, L0_Var_2("Node"));
  select({only});
  copySelection();
  select({});
  paste();
  EXPECT_EQ(over(diagram, "element"), (Objects{only}));
}

TEST_F(ClipboardTest, ADefinitionWrittenAsOneStaysADefinition) {
  L0_Var_2 a = newBox("a");
  a.setAttr("is_definition", "1");
  select({a});
  copySelection();
  EXPECT_EQ(attr(clipboardElements()[0], "is_definition"), "true");
}

// Each copy clears the clipboard: the copies go with their compartments.
TEST_F(ClipboardTest, CopiesReplacedInTheClipboardLeaveNothingBehind) {
  L0_Var_2 a = newBox("a");
  newPort(a);
  select({a});
  for (int i = 0; i < 3; ++i) copySelection();
  EXPECT_EQ(clipboardElements().size(), 2u);
  std::vector<grhost::Orphan> orphans = grhost::findOrphans();
  EXPECT_TRUE(orphans.empty()) << grhost::describeOrphan(orphans.front()) << " and "
                               << orphans.size() - 1 << " more";
  EXPECT_EQ(all("Compartment").size(), 2u);  // the box's name and its copy's
}

}  // namespace

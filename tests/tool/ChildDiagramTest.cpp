// Child diagrams: copied and pasted along with the boxes that lead to them
// (at any depth), deleted with them, reached by remote id, built on first
// navigation. Whatever goes, goes with what it owns.
#include "ToolFixture.h"
#include "host/base/OrphanCheck.h"
#include "tool/Compartment.h"
#include "tool/Copycollection.h"
#include "tool/Deletecollection.h"
#include "tool/Element.h"
#include "tool/L2click.h"
#include "tool/Pastegraphclipboard.h"

namespace {

// The fixture's diagram is the project diagram. Its seeds lead to diagrams
// of "child", whose boxes lead to diagrams of "grandchild".
class ChildDiagramTest : public ToolFixture {
 protected:
  void SetUp() override {
    ToolFixture::SetUp();
    diagramTypeObject.setAttr("id", "projectDiagram");
    clipboard = create("GraphClipboard");
    childType = diagramType("child");
    grandchildType = diagramType("grandchild");
    seedType = seedTypeOf(diagramTypeObject, "seed", childType);
    innerType = seedTypeOf(childType, "inner", grandchildType);
    seed = newSeed(seedType, diagram, "Orders");
    child = first(seed, "target");
    inner = newSeed(innerType, child, "Lines");
    grandchild = first(inner, "target");
    leaf = L0_Func_create_node(type("NodeType", "leaf"), grandchild, L0_Var_2("Node"));
  }

  static L0_Var_2 diagramType(const std::string& id) {
    L0_Var_2 t = create("GraphDiagramType");
    t.setAttr("id", id);
    return t;
  }
  // A box type of OWNER whose boxes lead to a diagram of TARGET, carried
  // along when copied and pasted.
  static L0_Var_2 seedTypeOf(L0_Var_2 owner, const std::string& id, L0_Var_2 target) {
    L0_Var_2 t = create("NodeType");
    t.setAttr("id", id);
    t.setAttr("caption", id);
    owner.addLink(t, "elemType");
    t.addLink(target, "target");
    t.setAttr("l2ClickEvent", "navigate");
    t.setAttr("procCopied", "copy_paste_diagram_seed");
    t.setAttr("procPasted", "copy_paste_diagram_seed");
    L0_Var_2 name = create("CompartType");
    name.setAttr("id", "Name");
    name.setAttr("isEssential", "true");
    t.addLink(name, "compartType");
    return t;
  }
  static L0_Var_2 newSeed(L0_Var_2 seedType, L0_Var_2 in, const std::string& name) {
    L0_Var_2 node = L0_Func_create_node(seedType, in, L0_Var_2("Node"));
    L0_Func_set_compartment_value(first(node, "compartment"), name);
    L0_Var_2 target = create("GraphDiagram");
    target.setAttr("caption", name);
    target.addLink(first(seedType, "target"), "graphDiagramType");
    node.addLink(target, "target");
    return node;
  }
  void copy(std::vector<L0_Var_2> elements) {
    select(elements);
    L0_Func_copy(L0_Var_2());
    L0_Func_finishCopyCollection();
  }
  void paste() {
    select({});
    create("PasteGraphClipboardEvent");
    L0_Func_PasteGraphClipboard();
  }
  static void expectNoOrphans() {
    std::vector<grhost::Orphan> orphans = grhost::findOrphans();
    EXPECT_TRUE(orphans.empty()) << grhost::describeOrphan(orphans.front()) << " and "
                                 << orphans.size() - 1 << " more";
  }
  static std::string name(const L0_Var_2& element) {
    return attr(first(element, "compartment"), "value");
  }

  L0_Var_2 clipboard, childType, grandchildType, seedType, innerType;
  L0_Var_2 seed, child, inner, grandchild, leaf;
};

TEST_F(ChildDiagramTest, ACopiedSeedCarriesItsDiagramsAndThePasteGetsItsOwn) {
  copy({seed});
  Objects held = over(clipboard, "element");
  ASSERT_EQ(held.size(), 1u);
  L0_Var_2 heldChild = first(held[0], "target");
  ASSERT_FALSE(heldChild.isNull());
  EXPECT_NE(heldChild, child);
  EXPECT_EQ(attr(heldChild, "caption"), "Orders");
  Objects heldInner = over(heldChild, "element");
  ASSERT_EQ(heldInner.size(), 1u);
  EXPECT_EQ(name(heldInner[0]), "Lines");
  L0_Var_2 heldGrandchild = first(heldInner[0], "target");
  ASSERT_FALSE(heldGrandchild.isNull());
  EXPECT_NE(heldGrandchild, grandchild);
  EXPECT_EQ(over(heldGrandchild, "element").size(), 1u);

  paste();
  Objects placed = over(diagram, "element");
  ASSERT_EQ(placed.size(), 2u);
  L0_Var_2 pasted = placed[1];
  EXPECT_EQ(name(pasted), "Orders");
  L0_Var_2 pastedChild = first(pasted, "target");
  ASSERT_FALSE(pastedChild.isNull());
  EXPECT_EQ(over(pasted, "target").size(), 1u);
  for (const L0_Var_2& other : {child, heldChild}) EXPECT_NE(pastedChild, other);
  EXPECT_EQ(first(pastedChild, "graphDiagramType"), childType);
  L0_Var_2 pastedGrandchild = first(first(pastedChild, "element"), "target");
  ASSERT_FALSE(pastedGrandchild.isNull());
  for (const L0_Var_2& other : {grandchild, heldGrandchild}) EXPECT_NE(pastedGrandchild, other);
  EXPECT_EQ(over(pastedGrandchild, "element").size(), 1u);
  for (const L0_Var_2& d : all("GraphDiagram")) EXPECT_EQ(attr(d, "isTraversed"), "");
  for (const L0_Var_2& e : all("Element")) EXPECT_TRUE(first(e, "copy").isNull());

  // A double click opens the pasted box's own diagram.
  L0_Var_2 click = create("L2ClickEvent");
  click.addLink(pasted, "element");
  L0_Func_L2Click();
  L0_Var_2 opened = commands().back();
  EXPECT_EQ(getClassName(opened), "ActiveDgrCmd");
  EXPECT_EQ(first(opened, "graphDiagram"), pastedChild);
  EXPECT_TRUE(messages().empty()) << messages().front();
  expectNoOrphans();

  // The next copy clears the clipboard with the diagrams it carried.
  copy({leaf});
  for (const L0_Var_2& gone : {heldChild, heldGrandchild}) EXPECT_TRUE(gone.isNull());
  EXPECT_FALSE(pastedChild.isNull());
  EXPECT_EQ(over(child, "element"), (Objects{inner}));
  expectNoOrphans();
}

TEST_F(ChildDiagramTest, DeletingTheChildDiagramTakesItsElementsItsSelectionAndTheSeed) {
  L0_Var_2 selection = create("Collection");
  child.addLink(selection, "collection");
  select({seed});
  L0_Func_delete_diagram();
  EXPECT_EQ(commandClasses(), (std::vector<std::string>{"CloseDgrCmd", "ExecTransfCmd"}));
  EXPECT_EQ(first(commands()[0], "graphDiagram"), child);
  EXPECT_EQ(attr(commands()[1], "info"), "delete_diagram_finish");
  L0_Func_delete_diagram_finish();
  for (const L0_Var_2& gone : {child, inner, selection, seed}) EXPECT_TRUE(gone.isNull());
  EXPECT_EQ(getClassName(commands().back()), "OkCmd");
  EXPECT_EQ(first(commands().back(), "graphDiagram"), diagram);
  expectNoOrphans();
  // Without a child diagram nothing is queued.
  std::size_t queued = commands().size();
  select({leaf});
  L0_Func_delete_diagram();
  EXPECT_EQ(commands().size(), queued);
}

// A box whose diagram came from a shared area knows it by remote id.
TEST_F(ChildDiagramTest, NavigationConnectsABoxToItsDiagramByRemoteId) {
  L0_Var_2 shared = L0_Func_create_node(seedType, diagram, L0_Var_2("Node"));
  shared.setAttr("targetDiagramRemoteId", "area-7");
  L0_Var_2 fetched = create("GraphDiagram");
  fetched.setAttr("remoteId", "area-7");
  L0_Func_navigate(shared);
  EXPECT_EQ(first(shared, "target"), fetched);
  EXPECT_EQ(first(commands().back(), "graphDiagram"), fetched);
  // No remote id, no diagram: nothing to open.
  std::size_t queued = commands().size();
  L0_Func_navigate(L0_Func_create_node(seedType, diagram, L0_Var_2("Node")));
  EXPECT_EQ(commands().size(), queued);
}

// The project diagram shows a seed for the new diagram at once, also when it
// was opened from a diagram that is no child of another.
TEST_F(ChildDiagramTest, ADiagramBuiltOnNavigationGetsASeedThatIsDrawn) {
  L0_Var_2 topType = diagramType("top");
  L0_Var_2 opener = seedTypeOf(topType, "opener", childType);
  opener.deleteLink(childType, "target");
  opener.addLink(childType, "navigation_target");
  L0_Var_2 top = create("GraphDiagram");
  top.addLink(topType, "graphDiagramType");
  L0_Var_2 element = L0_Func_create_node(opener, top, L0_Var_2("Node"));
  L0_Func_set_compartment_value(first(element, "compartment"), "Invoices");
  std::size_t before = commands().size();
  L0_Func_navigate_with_constructing(element);
  L0_Var_2 built = first(element, "target");
  ASSERT_FALSE(built.isNull());
  EXPECT_EQ(attr(built, "caption"), "Invoices");
  Objects seeds = over(diagram, "element");
  ASSERT_EQ(seeds.size(), 2u);
  EXPECT_EQ(first(seeds[1], "target"), built);
  Objects allQueued = commands();
  Objects queued(allQueued.begin() + static_cast<std::ptrdiff_t>(before), allQueued.end());
  ASSERT_EQ(classes(queued), (std::vector<std::string>{"OkCmd", "ActiveDgrCmd"}));
  EXPECT_EQ(first(queued[0], "graphDiagram"), diagram);
  EXPECT_EQ(first(queued[1], "graphDiagram"), built);
}

}  // namespace

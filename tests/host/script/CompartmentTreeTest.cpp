// The compartment-type tree of an element type's properties dialog, played
// against the behaviour library: the tree and the compartment types follow
// each other when nodes are added, dragged, renamed and deleted, and the
// type element's and the defined tool's elements follow the types.
#include "tests/host/script/GestureFixture.h"

using grhost::model::attribute;
using grhost::model::partners;

namespace {

// A type diagram with a box type "Class" of three compartment types, each
// with an input row, its dialog left open.
const char* const kClassType =
    "rightclick\n"
    "choose \"Specification Diagram\"\n"
    "box \"Seed\" as Seed\n"
    "press \"Close\"\n"
    "doubleclick Seed\n"
    "box \"Box\" as ClassBox\n"
    "find ClassBox.target_type as Class\n"
    "type \"caption\" \"Class\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"A\"\n"
    "pick \"row_type\" \"InputRow\"\n"
    "node \"Class\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"B\"\n"
    "pick \"row_type\" \"InputRow\"\n"
    "node \"Class\"\n"
    "press \"AddChild\"\n"
    "type \"caption\" \"C\"\n"
    "pick \"row_type\" \"InputRow\"\n"
    "expect nodes \"Class\" \"Class/A\" \"Class/B\" \"Class/C\"\n";

class CompartmentTreeTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithBehaviourLibrary();
    ASSERT_EQ(play(kClassType), "");
  }
  // The ids of the objects reached over ROLE, in link order.
  static Texts ids(RepId owner, const std::string& role, const std::string& attr = "id") {
    Texts texts;
    for (RepId partner : partners(owner, role)) texts.push_back(attribute(partner, attr));
    return texts;
  }
  // The ids of the compartment types of the element's compartments, in order.
  static Texts compartmentTypes(RepId element) {
    Texts texts;
    for (RepId compartment : partners(element, "compartment"))
      texts.push_back(attribute(partner(compartment, "compartType"), "id"));
    return texts;
  }
};

}  // namespace

TEST_F(CompartmentTreeTest, DraggingANodeReordersTheTypesAndTheElementsCompartments) {
  RepId type = named("Class");
  EXPECT_EQ(ids(type, "compartType"), (Texts{"A", "B", "C"}));
  std::vector<RepId> before = partners(type, "compartType");
  ASSERT_EQ(play("drag \"Class/C\" to \"Class\" at 1\n"
                 "expect nodes \"Class\" \"Class/C\" \"Class/A\" \"Class/B\""),
            "");
  EXPECT_EQ(ids(type, "compartType"), (Texts{"C", "A", "B"}));
  EXPECT_EQ(partners(type, "compartType"), (std::vector<RepId>{before[2], before[0], before[1]}))
      << "the same types, linked anew";
  ASSERT_EQ(play("press \"Close\""), "");
  EXPECT_EQ(compartmentTypes(named("ClassBox")), (Texts{"AS#Name", "C", "A", "B"}));

  // The defined tool's elements fill their compartments in the new order.
  ASSERT_EQ(play("find ClassBox.graphDiagram as Types\n"
                 "find Types.target_type as Tool\n"
                 "find Seed.graphDiagram as SeedDiagram\n"
                 "find GraphDiagram where caption = \"Demo\" as Project\n"
                 "open Project\n"
                 "box \"NewDiagram\" as Model\n"
                 "press \"Close\"\n"
                 "doubleclick Model\n"
                 "box \"Class\" as Object\n"
                 "type \"A\" \"a\"\n"
                 "type \"C\" \"c\"\n"
                 "type \"B\" \"b\"\n"
                 "press \"Close\"\n"),
            "");
  EXPECT_EQ(compartmentTypes(named("Object")), (Texts{"C", "A", "B"}));
}

TEST_F(CompartmentTreeTest, ANodeDraggedUnderAnotherBecomesASubCompartmentType) {
  ASSERT_EQ(play("drag \"Class/B\" to \"Class/A\"\n"
                 "expect nodes \"Class\" \"Class/A\" \"Class/A/B\" \"Class/C\"\n"
                 "find CompartType where id = \"A\" as A\n"
                 "find CompartType where id = \"B\" as B\n"
                 "expect B.parentCompartType -> A\n"
                 "expect B.elemType -> none\n"
                 "expect A.subCompartType count 1\n"
                 "press \"Close\"\n"),
            "");
  EXPECT_EQ(ids(named("Class"), "compartType"), (Texts{"A", "C"}));
  EXPECT_EQ(compartmentTypes(named("ClassBox")), (Texts{"AS#Name", "A", "C"}));
  // Dragging it back makes it a top-level type again, at the given place.
  ASSERT_EQ(play("doubleclick ClassBox\n"
                 "drag \"Class/A/B\" to \"Class\" at 3\n"
                 "expect nodes \"Class\" \"Class/A\" \"Class/C\" \"Class/B\"\n"
                 "expect B.parentCompartType -> none\n"
                 "expect B.elemType -> Class\n"
                 "press \"Close\"\n"),
            "");
  EXPECT_EQ(ids(named("Class"), "compartType"), (Texts{"A", "C", "B"}));
  EXPECT_EQ(play("doubleclick ClassBox\ndrag \"Class/A\" to \"Class/A\""),
            "2: a node can not be dragged into itself or its children");
  EXPECT_EQ(play("drag \"Class\" to \"Class/A\""), "1: a top node of the tree can not be dragged");
}

TEST_F(CompartmentTreeTest, DeletingATypeThatElementsUseTakesTheirCompartmentsAndItsRow) {
  ASSERT_EQ(play("press \"Close\"\n"
                 "find GraphDiagram where caption = \"Demo\" as Project\n"
                 "open Project\n"
                 "box \"NewDiagram\" as Model\n"
                 "press \"Close\"\n"
                 "doubleclick Model\n"
                 "box \"Class\" as Object\n"
                 "type \"A\" \"a\"\n"
                 "type \"B\" \"b\"\n"
                 "press \"Close\"\n"
                 "expect Object compartment \"B\" value \"b\"\n"
                 "find CompartType where id = \"B\" as B\n"
                 "find B.propertyRow as BRow\n"),
            "");
  RepId b = named("B"), row = named("BRow");
  ASSERT_EQ(play("find Seed.target as Types\n"
                 "open Types\n"
                 "doubleclick ClassBox\n"
                 "node \"Class/B\"\n"
                 "press \"DeleteChild\"\n"
                 "expect nodes \"Class\" \"Class/A\" \"Class/C\"\n"
                 "press \"Close\"\n"
                 "find Class.propertyDiagram as Dialog\n"
                 "expect Dialog.propertyRow count 2\n"),
            "");
  EXPECT_EQ(compartmentTypes(named("Object")), (Texts{"A"}));
  EXPECT_EQ(attribute(partners(named("Object"), "compartment").front(), "value"), "a");
  EXPECT_FALSE(ObjectExists(b));
  EXPECT_FALSE(ObjectExists(row));
  EXPECT_EQ(ids(named("Class"), "compartType"), (Texts{"A", "C"}));
  // The root can not be deleted: its button is disabled.
  EXPECT_EQ(play("doubleclick ClassBox\nnode \"Class\"\npress \"DeleteChild\""),
            "3: the button \"DeleteChild\" is disabled");
}

TEST_F(CompartmentTreeTest, ANameTheElementTypeAlreadyUsesIsRefused) {
  ASSERT_EQ(play("node \"Class/C\"\n"
                 "type \"caption\" \"A\"\n"
                 "node \"Class\"\n"
                 "expect message \"Compartment type \\\"A\\\" already exists.\"\n"
                 "expect nodes \"Class\" \"Class/A\" \"Class/B\" \"Class/C\"\n"
                 "find CompartType where caption = \"C\" as C\n"
                 "expect C.id = \"C\"\n"),
            "");
  // The "ID" row alone refuses such an id too.
  ASSERT_EQ(play("node \"Class/C\"\n"
                 "type \"id\" \"B\"\n"
                 "focus \"caption\"\n"
                 "expect message \"Compartment type \\\"B\\\" already exists.\"\n"
                 "expect field \"id\" = \"C\"\n"
                 "type \"id\" \"Cee\"\n"
                 "focus \"caption\"\n"
                 "expect C.id = \"Cee\"\n"
                 "type \"id\" \"C\"\n"
                 "focus \"caption\"\n"),
            "");
  // A new name is taken by the type, its style and the tree.
  ASSERT_EQ(play("node \"Class/C\"\n"
                 "type \"caption\" \"Abstract\"\n"
                 "node \"Class\"\n"
                 "expect C.id = \"Abstract\"\n"
                 "find C.compartStyle as Style\n"
                 "expect Style.caption = \"Abstract\"\n"
                 "expect nodes \"Class\" \"Class/A\" \"Class/B\" \"Class/Abstract\"\n"),
            "");
  // Element types of one diagram type have names of their own as well.
  ASSERT_EQ(play("press \"Close\"\n"
                 "box \"Box\" as Other\n"
                 "type \"caption\" \"Class\"\n"
                 "press \"Close\"\n"
                 "expect message \"Element type \\\"Class\\\" already exists.\"\n"
                 "find Other.target_type as OtherType\n"
                 "expect OtherType.id = \"NewNode\"\n"),
            "");
}

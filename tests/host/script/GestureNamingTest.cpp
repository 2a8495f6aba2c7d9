// Names and geometry of what gestures create, played against the behaviour
// library on the type diagram of a new diagram type.
#include "tests/host/script/GestureFixture.h"

using grhost::model::attribute;
using grhost::model::className;
using grhost::model::partners;

namespace {

const char* const kTypeDiagram =
    "rightclick\n"
    "choose \"Specification Diagram\"\n"
    "box \"Seed\" as Seed\n"
    "press \"Close\"\n"  // its properties dialog opened as it was drawn
    "doubleclick Seed\n"
    "find Seed.target as TypeDiagram\n";

class GestureNamingTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithBehaviourLibrary();
    ASSERT_EQ(play(kTypeDiagram), "");
  }
};

}  // namespace

TEST_F(GestureNamingTest, AsNamesTheElementOfTheGesturesClassAndLocationTakesTheGivenGeometry) {
  EXPECT_EQ(play("box \"Box\" at 10 20 as A\n"
                 "press \"Close\"\n"
                 "box \"Box\" at 200 20 size 60 30 as B\n"
                 "press \"Close\"\n"
                 "pin \"Pin\" on A as P\n"
                 "line \"Line\" from A to B as L\n"
                 "press \"Close\"\n"
                 "freebox \"FreeBox\" at 5 6 size 7 8 as F\n"
                 "press \"Close\"\n"
                 "freeline \"FreeLine\" from 1 2 via 3 4 to 5 6 as C\n"),
            "");
  EXPECT_EQ(className(named("A")), "Node");
  EXPECT_EQ(attribute(named("A"), "location"), "10 20 110 45");  // the box style's size
  EXPECT_EQ(attribute(named("B"), "location"), "200 20 60 30");
  EXPECT_EQ(className(named("P")), "Port");
  EXPECT_EQ(partners(named("A"), "port"), std::vector<RepId>{named("P")});
  EXPECT_EQ(className(named("L")), "Edge");
  EXPECT_EQ(partner(named("L"), "start"), named("A"));
  EXPECT_EQ(attribute(named("F"), "location"), "5 6 7 8");
  EXPECT_EQ(attribute(named("C"), "location"), "1 2 3 4 5 6");
  EXPECT_EQ(partner(named("C"), "graphDiagram"), named("TypeDiagram"));
}

TEST_F(GestureNamingTest, ANameOfARefusedElementStaysUnboundAndItsUseNamesTheLine) {
  EXPECT_EQ(play("box \"Box\" as A\n"
                 "press \"Close\"\n"
                 "freebox \"FreeBox\" at 0 0 size 9 9 as F\n"
                 "press \"Close\"\n"
                 "line \"Line\" from A to F as L\n"
                 "expect info \"box can't be connected to freeBox with Line\"\n"
                 "box \"Box\" in A as Inner\n"
                 "expect info \"box can't be inserted into box\"\n"),
            "");
  EXPECT_EQ(play("expect L.start -> A"), "1: 'L' names nothing: line 5 created no Edge");
  EXPECT_EQ(play("select Inner"), "1: 'Inner' names nothing: line 7 created no Node");
  // A name that named something before names nothing once a gesture refuses it.
  EXPECT_EQ(play("line \"Line\" from A to F as A\nexpect A.id = \"\""),
            "2: 'A' names nothing: line 1 created no Edge");
  EXPECT_EQ(play("box \"Box\" as A\npress \"Close\"\nexpect A.elemType count 1"), "");
}

TEST_F(GestureNamingTest, PastedElementsAndMovedLinesAreNamedInOrder) {
  EXPECT_EQ(play("box \"Box\" as A\n"
                 "press \"Close\"\n"
                 "pin \"Pin\" on A as P\n"
                 "box \"Box\" as B\n"
                 "press \"Close\"\n"
                 "line \"Line\" from A to B as L\n"
                 "press \"Close\"\n"
                 "select A\n"
                 "copy\n"
                 "select none\n"
                 "paste as Nothing\n"  // a type diagram has no "Ctrl V" shortcut
                 "rightclick\n"
                 "choose \"Paste\" as A2 P2 Extra\n"
                 "expect A2.port -> P2\n"
                 "move end of L to A2 as Moved\n"
                 "expect L.end -> A2\n"),
            "");
  EXPECT_EQ(className(named("A2")), "Node");
  EXPECT_EQ(className(named("P2")), "Port");
  EXPECT_EQ(named("Moved"), named("L"));
  EXPECT_EQ(play("select Nothing"),
            "1: 'Nothing' names nothing: line 11 created no element number 1");
  EXPECT_EQ(play("select Extra"), "1: 'Extra' names nothing: line 13 created no element number 3");
}

TEST_F(GestureNamingTest, AModalFormTakesEveryDiagramGestureUntilItCloses) {
  EXPECT_EQ(play("box \"Box\" as A\npress \"Close\"\nselect A\nconsole \"elemType/@id\"\nexpect "
                 "form \"Console\""),
            "");
  EXPECT_EQ(play("box \"Box\""), "1: the modal form \"Console\" is open");
  EXPECT_EQ(play("select none"), "1: the modal form \"Console\" is open");
  EXPECT_EQ(play("key \"Delete\""), "1: the modal form \"Console\" is open");
  EXPECT_EQ(play("press \"Exit\"\nexpect no form\nselect none\nbox \"Box\" as B\n"
                 "expect form \"Box Properties\""),
            "");
}

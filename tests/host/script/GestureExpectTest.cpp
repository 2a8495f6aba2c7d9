// The expect forms about the model and the selection, and find over a role:
// what passes, and the line and reason of what fails.
#include "tests/host/script/GestureFixture.h"

namespace {

class GestureExpectTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithTestLibrary();
    buildTool("main#note_third");
    openFirstDiagram();
  }
  RepId compartment(RepId owner, const std::string& role, const std::string& typeId,
                    const std::string& value, const std::string& input) {
    RepId type = make("CompartType", {{"id", typeId}});
    RepId made = make("Compartment", {{"value", value}, {"input", input}});
    link(made, "compartType", type);
    link(owner, role, made);
    return made;
  }
};

}  // namespace

TEST_F(GestureExpectTest, SelectionsAreComparedInOrderAndShownByName) {
  EXPECT_EQ(play("select N2 N1\nexpect selection N2 N1"), "");
  EXPECT_EQ(play("expect selection N1 N2"), "1: the selection is N2, N1, not N1, N2");
  EXPECT_EQ(play("expect selection none"), "1: the selection is N2, N1, not none");
  EXPECT_EQ(play("select none\nexpect selection N1"), "2: the selection is none, not N1");
  EXPECT_EQ(play("select Nobody"), "1: unknown name 'Nobody'");
}

TEST_F(GestureExpectTest, PartnersAreCheckedOverTheirRolesAndFindFollowsOne) {
  EXPECT_EQ(play("expect E.start -> N1\nexpect E.end count 1\nexpect N1.container -> none\n"
                 "find E.end as Target\nexpect Target.eEnd -> E\nexpect First.element count 5"),
            "");
  EXPECT_EQ(named("Target"), named("N2"));
  EXPECT_EQ(play("expect E.start -> N2"), "1: E.start leads to N1, not N2");
  EXPECT_EQ(play("expect E.start -> none"), "1: E.start leads to N1, not nothing");
  EXPECT_EQ(play("expect N1.container -> N2"), "1: N1.container leads to nothing, not N2");
  EXPECT_EQ(play("expect First.element count 2"), "1: First.element leads to 5 objects, not 2");
  EXPECT_EQ(play("expect E.colour -> N1"), "1: Edge has no role colour");
  EXPECT_EQ(play("expect E.colour count 0"), "1: Edge has no role colour");
  EXPECT_EQ(play("expect E.start N1"), "1: expected '=', found 'N1'");
  EXPECT_EQ(play("find E.colour as C"), "1: Edge has no role colour");
  EXPECT_EQ(play("find N1.container as C"), "1: N1.container leads to nothing");
}

TEST_F(GestureExpectTest, ACompartmentIsFoundByItsTypesIdDepthFirst) {
  {
    grhost::model::SaveTransaction transaction;
    RepId outer = compartment(named("N1"), "compartment", "Outer", "o", "O");
    compartment(outer, "subCompartment", "Name", "deep", "Deep");
    compartment(named("N1"), "compartment", "Name", "shallow", "Shallow");
  }
  EXPECT_EQ(play("expect N1 compartment \"Name\" value \"deep\"\n"
                 "expect N1 compartment \"Name\" input \"Deep\"\n"
                 "expect N1 compartment \"Outer\" value \"o\""),
            "");
  EXPECT_EQ(play("expect N1 compartment \"Name\" value \"shallow\""),
            "1: the value of 'N1' compartment \"Name\" is \"deep\", not \"shallow\"");
  EXPECT_EQ(play("expect N1 compartment \"Outer\" input \"o\""),
            "1: the input of 'N1' compartment \"Outer\" is \"O\", not \"o\"");
  EXPECT_EQ(play("expect N2 compartment \"Name\" value \"\""),
            "1: 'N2' has no compartment of type \"Name\"");
  EXPECT_EQ(play("expect N1 compartment \"Name\" text \"deep\""),
            "1: expected 'value', found 'text'");
  EXPECT_EQ(play("expect N1 wonders"), "1: unknown expectation 'N1'");
}

TEST_F(GestureExpectTest, TheCurrentDiagramIsExpectedByCaptionOrByName) {
  {
    grhost::model::SaveTransaction transaction;
    name("Other", make("GraphDiagram", {{"caption", "First"}}));
  }
  EXPECT_EQ(play("expect current diagram \"First\"\nexpect current diagram First"), "");
  EXPECT_EQ(play("expect current diagram Other"), "1: the current diagram is First, not Other");
}

// The diagram gestures make the events the engine makes: their classes,
// links and info texts, on a tool built in the model and with a handler that
// leaves its event for the test to read.
#include "tests/host/script/GestureFixture.h"

using grhost::model::attribute;
using grhost::model::objectsOf;

namespace {

class GestureEventTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithTestLibrary();
    buildTool("main#note_third");  // says "third", leaves the event
    openFirstDiagram();
  }
};

}  // namespace

TEST_F(GestureEventTest, DrawingGesturesLinkThePaletteEntryOfTheCaptionAndTheElementsDrawnOn) {
  EXPECT_EQ(play("box \"Box\" in N1\nexpect message \"third\""), "");
  RepId box = leftEvent("NewBoxEvent");
  EXPECT_EQ(partner(box, "paletteBox"), named("Box"));
  EXPECT_EQ(partner(box, "node"), named("N1"));
  EXPECT_EQ(play("box \"Box\""), "");
  EXPECT_EQ(partner(leftEvent("NewBoxEvent"), "node"), 0u);

  EXPECT_EQ(play("line \"Line\" from N2 to E"), "");
  RepId line = leftEvent("NewLineEvent");
  EXPECT_EQ(partner(line, "paletteLine"), named("Line"));
  EXPECT_EQ(partner(line, "start"), named("N2"));
  EXPECT_EQ(partner(line, "end"), named("E"));
  EXPECT_EQ(objectsOf("NewBoxEvent").size(), 0u);  // the next gesture removed the leftover

  EXPECT_EQ(play("pin \"Pin\" on N2"), "");
  RepId pin = leftEvent("NewPinEvent");
  EXPECT_EQ(partner(pin, "palettePin"), named("Pin"));
  EXPECT_EQ(partner(pin, "node"), named("N2"));
}

TEST_F(GestureEventTest, FreeShapesCarryTheirGeometryInTheEnginesInfoFormats) {
  EXPECT_EQ(play("freebox \"Free\" at 10 20 size 80 40"), "");
  RepId box = leftEvent("NewFreeBoxEvent");
  EXPECT_EQ(info(box), "80;40;10;20");
  EXPECT_EQ(partner(box, "paletteFreeBox"), named("Free"));
  EXPECT_EQ(play("freeline \"Curve\" from 0 -5 via 7 8 to 100 20"), "");
  RepId line = leftEvent("NewFreeLineEvent");
  EXPECT_EQ(info(line), "\\0,-5\\7,8\\100,20");
  EXPECT_EQ(partner(line, "paletteFreeLine"), named("Curve"));

  EXPECT_EQ(play("edit freebox FB at 5 6 size 30 31"), "");
  RepId edited = leftEvent("FreeBoxEditedEvent");
  EXPECT_EQ(info(edited), "30,31\\5,6");
  EXPECT_EQ(partner(edited, "element"), named("FB"));
  EXPECT_EQ(attribute(named("FB"), "location"), "5 6 30 31");
  EXPECT_EQ(play("edit freeline FL from 1 2 to 3 4"), "");
  RepId lineEdited = leftEvent("FreeLineEditedEvent");
  EXPECT_EQ(info(lineEdited), "\\1,2\\3,4");
  EXPECT_EQ(partner(lineEdited, "element"), named("FL"));
  EXPECT_EQ(attribute(named("FL"), "location"), "1 2 3 4");
}

TEST_F(GestureEventTest, MovesClicksToolsAndTransformationsNameWhatTheyActOn) {
  EXPECT_EQ(play("move start of E to N2"), "");
  RepId start = leftEvent("MoveLineStartPointEvent");
  EXPECT_EQ(partner(start, "edge"), named("E"));
  EXPECT_EQ(partner(start, "target"), named("N2"));
  EXPECT_EQ(play("move end of E to FB"), "");
  EXPECT_EQ(partner(leftEvent("MoveLineEndPointEvent"), "target"), named("FB"));

  EXPECT_EQ(play("move N2 into N1"), "");
  RepId into = leftEvent("ChangeParentEvent");
  EXPECT_EQ(partner(into, "node"), named("N2"));
  EXPECT_EQ(partner(into, "target"), named("N1"));
  EXPECT_EQ(play("move N2 out"), "");
  EXPECT_EQ(partner(leftEvent("ChangeParentEvent"), "target"), 0u);

  EXPECT_EQ(play("doubleclick E"), "");
  EXPECT_EQ(partner(leftEvent("L2ClickEvent"), "element"), named("E"));
  EXPECT_EQ(play("rightclick N1"), "");
  EXPECT_EQ(partner(leftEvent("RClickEvent"), "element"), named("N1"));
  EXPECT_EQ(play("rightclick"), "");
  EXPECT_EQ(partner(leftEvent("RClickEvent"), "element"), 0u);
  EXPECT_EQ(play("tool \"Go\""), "");
  EXPECT_EQ(partner(leftEvent("ToolSelectEvent"), "tool"), named("Go"));
  EXPECT_EQ(play("transform \"lib#step\""), "");
  EXPECT_EQ(info(leftEvent("ExecTransfEvent")), "lib#step");
}

TEST_F(GestureEventTest, KeysAndTheClipboardGesturesPressTheirKeys) {
  for (auto [gesture, key] : {std::pair{"key \"Ctrl Q\"", "Ctrl Q"},
                              {"copy", "Ctrl C"},
                              {"cut", "Ctrl X"},
                              {"paste", "Ctrl V"},
                              {"delete", "Delete"}}) {
    EXPECT_EQ(play(gesture), "");
    EXPECT_EQ(info(leftEvent("KeyDownEvent")), key) << gesture;
  }
}

TEST_F(GestureEventTest, ClickingAnElementSelectsItUnlessItIsSelectedAlready) {
  RepId diagram = named("First");
  EXPECT_EQ(play("select N2 E\nexpect selection N2 E\nrightclick\nexpect selection N2 E"), "");
  EXPECT_EQ(play("rightclick E\nexpect selection N2 E"), "");
  EXPECT_EQ(play("doubleclick N1"), "");
  EXPECT_EQ(selection(diagram), std::vector<RepId>{named("N1")});
  EXPECT_EQ(play("select none\nexpect selection none"), "");
  EXPECT_TRUE(selection(diagram).empty());
}

TEST_F(GestureEventTest, TheDiagramGesturesRefuseWhatTheCurrentDiagramDoesNotHave) {
  EXPECT_EQ(play("box \"Circle\""), "1: the palette of \"First\" has no PaletteBox \"Circle\"");
  EXPECT_EQ(play("line \"Box\" from N1 to N2"),
            "1: the palette of \"First\" has no PaletteLine \"Box\"");
  EXPECT_EQ(play("tool \"Stop\""), "1: the tool bar of \"First\" has no tool \"Stop\"");
  EXPECT_EQ(play("box \"Box\" in E"), "1: 'E' is no Node but a Edge");
  EXPECT_EQ(play("box \"Box\" size 10 10"), "1: 'size' needs 'at X Y' before it");
  EXPECT_EQ(play("freebox \"Free\" at 1 1 size 0 5"), "1: a width must be positive");
  EXPECT_EQ(play("move start of N1 to N2"), "1: 'N1' is no Edge but a Node");
  {
    grhost::model::SaveTransaction transaction;
    RepId elsewhere = make("Node");
    link(make("GraphDiagram", {{"caption", "Other"}}), "element", elsewhere);
    name("Elsewhere", elsewhere);
  }
  EXPECT_EQ(play("select N1 Elsewhere"), "1: 'Elsewhere' is not in the current diagram \"First\"");
  EXPECT_EQ(play("doubleclick Elsewhere"),
            "1: 'Elsewhere' is not in the current diagram \"First\"");
  EXPECT_TRUE(objectsOf("Event").empty());  // nothing was raised
}

TEST_F(GestureEventTest, OpeningADiagramShowsItAndTellsTheLibrary) {
  {
    grhost::model::SaveTransaction transaction;
    name("Other", make("GraphDiagram", {{"caption", "Other"}}));
  }
  EXPECT_EQ(play("open \"Other\"\nexpect current diagram \"Other\"\nexpect current diagram Other"),
            "");
  EXPECT_EQ(partner(leftEvent("OpenDgrEvent"), "graphDiagram"), named("Other"));
  EXPECT_TRUE(head().diagrams().isOpen(named("Other")));
  EXPECT_NE(partner(named("Other"), "collection"), 0u);
  EXPECT_EQ(play("open First\nexpect current diagram First"), "");
  EXPECT_EQ(play("open \"Nowhere\""), "1: there is no diagram \"Nowhere\"");
  EXPECT_EQ(play("open N1"), "1: 'N1' is no GraphDiagram");
}

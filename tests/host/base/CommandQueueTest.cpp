// The command queue and the commands the engines execute.
#include "tests/host/HostFixture.h"

using grhost::model::attribute;
using grhost::model::firstOf;
using grhost::model::objectsOf;
using grhost::model::partners;
using Texts = std::vector<std::string>;

TEST_F(HostTest, CommandsRunAfterTheTransformationInQueueOrderAndThoseQueuedMeanwhileAfterThem) {
  create();
  // "first" queues "third" while "second" is still waiting.
  EXPECT_EQ(run("main#queue_in_steps"),
            (Texts{"queued, last links 1", "first", "second", "third"}));
  EXPECT_TRUE(objectsOf("Command").empty());
  EXPECT_TRUE(partners(firstOf("FirstCmdPtr"), "command").empty());
  EXPECT_TRUE(head().queue().pending().empty());
}

TEST_F(HostTest, RunningAHandlerWithoutExecutingLeavesItsCommandsQueuedInOrder) {
  create();
  head().runHandler("main#queue_in_steps");
  std::vector<RepId> queued = head().queue().pending();
  ASSERT_EQ(queued.size(), 2u);
  EXPECT_EQ(attribute(queued[0], "info"), "note_first");
  EXPECT_EQ(attribute(queued[1], "info"), "main#note_second");
  EXPECT_EQ(partners(firstOf("LastCmdPtr"), "command"), std::vector<RepId>{queued[1]});
  head().queue().remove(queued[0]);
  EXPECT_EQ(head().queue().pending(), std::vector<RepId>{queued[1]});
  EXPECT_EQ(run("main#note_third"), (Texts{"third", "second"}));
}

TEST_F(HostTest, ActivatingAndClosingDiagramsMovesTheCurrentDiagram) {
  grhost::Session& session = create();
  grhost::GraphDiagramEngine& diagrams = session.head().diagrams();
  run("main#open_first_diagram");
  RepId first = diagrams.currentDiagram();
  ASSERT_NE(first, 0u);
  EXPECT_EQ(attribute(first, "caption"), "First");
  EXPECT_TRUE(diagrams.isOpen(first));
  // An opened diagram gets its selection, once.
  EXPECT_EQ(partners(first, "collection").size(), 1u);
  RepId activateAgain = grhost::model::create("ActiveDgrCmd");
  grhost::model::link(activateAgain, "graphDiagram", first);
  head().executeCommand(activateAgain);
  EXPECT_EQ(objectsOf("Collection").size(), 1u);

  run("main#open_second_close_first");
  RepId second = diagrams.currentDiagram();
  EXPECT_EQ(attribute(second, "caption"), "Second");
  EXPECT_FALSE(diagrams.isOpen(first));
  EXPECT_EQ(diagrams.openDiagrams(), std::vector<RepId>{second});

  run("main#close_current");
  EXPECT_EQ(diagrams.currentDiagram(), 0u);
  EXPECT_TRUE(diagrams.openDiagrams().empty());
  EXPECT_EQ(objectsOf("CurrentDgrPointer").size(), 1u);
}

TEST_F(HostTest, TheCurrentDiagramSurvivesReopeningButOpenWindowsDoNot) {
  create();
  run("main#open_first_diagram");
  RepId first = head().diagrams().currentDiagram();
  reopen();
  EXPECT_EQ(head().diagrams().currentDiagram(), first);
  EXPECT_TRUE(head().diagrams().openDiagrams().empty());
}

TEST_F(HostTest, PopUpMenusAreRecordedWithTheirItemsInLinkOrder) {
  create();
  run("main#show_menu");
  std::vector<std::string> captions;
  for (const grhost::MenuItem& item : head().diagrams().lastMenu()) {
    captions.push_back(item.caption);
    EXPECT_EQ(attribute(item.popUpElement, "caption"), item.caption);
  }
  EXPECT_EQ(captions, (Texts{"Cut", "Copy", "Paste"}));
}

TEST_F(HostTest, InformationBarCommandsShowAndHideTheText) {
  grhost::Session& session = create();
  std::size_t before = mark();
  run("main#show_saved_info");
  EXPECT_EQ(session.log().ofKindSince("info", before), Texts{"saved"});
  EXPECT_EQ(head().informationBar(), "saved");
  RepId hide = grhost::model::create("HideInformationBarCommand");
  head().executeCommand(hide);
  EXPECT_EQ(head().informationBar(), "");
  EXPECT_FALSE(ObjectExists(hide));
}

TEST_F(HostTest, EventsRunTheHandlerRegisteredOnTheDiagramEngineElseOnTheHeadEngine) {
  create();
  RepId diagramEngine = firstOf("GraphDiagramEngine");
  RepId headEngine = firstOf("HeadEngine");
  grhost::model::setAttribute(diagramEngine, "onLClickEvent", "main");
  grhost::model::setAttribute(headEngine, "onCloseProjectEvent", "main#note_second");
  EXPECT_EQ(head().registeredHandler("LClickEvent"), "main");
  EXPECT_EQ(head().registeredHandler("CloseProjectEvent"), "main#note_second");
  EXPECT_EQ(head().registeredHandler("RClickEvent"), "");

  std::size_t before = mark();
  grhost::EventSpec kept{"LClickEvent", true, "keep", {}};
  RepId leftover = head().raiseEvent(kept);
  EXPECT_TRUE(ObjectExists(leftover));
  head().raiseEvent({"CloseProjectEvent", false, "", {}});
  EXPECT_EQ(shownSince(before), (Texts{"dispatched LClickEvent keep", "second"}));
  // The next event replaces what handlers left, so the dispatcher sees its own.
  EXPECT_FALSE(ObjectExists(leftover));
  EXPECT_THROW(head().raiseEvent({"RClickEvent", false, "", {}}), grhost::HostError);
  EXPECT_THROW(head().raiseEvent({"NoSuchEvent", false, "", {}}), grhost::HostError);
}

TEST_F(HostTest, EventLinksAreCheckedBeforeTheEventIsMade) {
  create();
  grhost::model::setAttribute(firstOf("GraphDiagramEngine"), "onOpenDgrEvent", "main");
  RepId diagram = grhost::model::create("GraphDiagram");
  std::size_t before = mark();
  EXPECT_THROW(head().raiseEvent({"OpenDgrEvent", false, "", {{"element", diagram}}}),
               grhost::HostError);
  EXPECT_TRUE(objectsOf("OpenDgrEvent").empty());
  RepId opened = head().raiseEvent({"OpenDgrEvent", true, "keep", {{"graphDiagram", diagram}}});
  EXPECT_EQ(partners(opened, "graphDiagram"), std::vector<RepId>{diagram});
  EXPECT_EQ(shownSince(before), Texts{"dispatched OpenDgrEvent keep"});
}

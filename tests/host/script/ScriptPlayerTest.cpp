// Gesture scripts: the statements, the expect forms and their windows, and
// the errors with file and line.
#include "tests/host/script/ScriptFixture.h"

using grhost::model::attribute;
using grhost::model::objectsOf;

namespace {

class ScriptTest : public ScriptFixture {
 protected:
  void SetUp() override {
    ScriptFixture::SetUp();
    create();
    grhost::model::setAttribute(grhost::model::firstOf("GraphDiagramEngine"), "onLClickEvent",
                                "main");
    grhost::model::setAttribute(grhost::model::firstOf("GraphDiagramEngine"), "onOpenDgrEvent",
                                "main#note_first");
    newPlayer();
  }
  // Plays the lines as a file; "" when all passed, else the error output.
  std::string play(const std::string& lines) { return playScript(lines); }
};

}  // namespace

TEST_F(ScriptTest, EventsWithInfoAndLinksRunTheirHandlerAndExpectationsCheckTheResult) {
  EXPECT_EQ(play("run \"main#open_first_diagram\"\n"
                 "expect current diagram \"First\"\n"
                 "find GraphDiagram where caption = \"First\" as D   # a comment\n"
                 "event OpenDgrEvent graphDiagram D as E\n"
                 "expect message \"first\"\n"
                 "expect message \"third\"\n"
                 "expect E.info = \"\"\n"
                 "expect count OpenDgrEvent 1\n"
                 "event LClickEvent info \"say \\\"hi\\\"\\n\"\n"
                 "expect message \"dispatched LClickEvent say \\\"hi\\\"\\n\"\n"
                 "expect count Event 0\n"
                 "expect D.caption = \"First\"\n"),
            "");
  EXPECT_EQ(player_->expectationsMet(), 8u);
}

TEST_F(ScriptTest, MessagesAreExpectedWithinTheLatestGestureOnly) {
  EXPECT_EQ(play("run \"main#note_second\"\n"
                 "expect message \"second\"\n"
                 "expect message \"second\"\n"),
            "");
  EXPECT_EQ(play("run \"main#show_saved_info\"\n"
                 "expect no message\n"
                 "expect message \"second\"\n"),
            "3: no message \"second\" since the last gesture; shown: none\n");
  EXPECT_EQ(play("expect info \"saved\"\n"), "");
  EXPECT_EQ(play("run \"main#note_third\"\nexpect no message\n"),
            "2: messages since the last gesture: \"third\"\n");
}

TEST_F(ScriptTest, MenusCountsAndAttributesReportWhatWasFoundInstead) {
  EXPECT_EQ(play("run \"main#show_menu\"\nexpect menu \"Cut\" \"Copy\" \"Paste\"\n"), "");
  EXPECT_EQ(play("expect menu \"Cut\" \"Paste\"\n"),
            "1: the last menu shown has \"Cut\", \"Copy\", \"Paste\", not \"Cut\", \"Paste\"\n");
  EXPECT_EQ(play("expect count PopUpElement 2\n"), "1: expected 2 PopUpElement, found 3\n");
  EXPECT_EQ(play("find PopUpElement where caption = \"Copy\" as C\nexpect C.caption = \"Cut\"\n"),
            "2: C.caption is \"Copy\", not \"Cut\"\n");
  EXPECT_EQ(play("find PopUpElement as C\nexpect C.colour = \"red\"\n"),
            "2: PopUpElement has no attribute colour\n");
}

TEST_F(ScriptTest, AMenuItemIsChosenByCaptionFromTheLastMenuShown) {
  grhost::model::setAttribute(grhost::model::firstOf("GraphDiagramEngine"),
                              "onPopUpElemSelectEvent", "main");
  EXPECT_EQ(play("choose \"Copy\"\n"), "1: the last menu shown has no item \"Copy\"\n");
  EXPECT_EQ(play("run \"main#show_menu\"\n"
                 "event PopUpElemSelectEvent info \"keep\"\n"
                 "choose \"Copy\"\n"
                 "expect message \"dispatched PopUpElemSelectEvent item Copy\"\n"
                 "expect count PopUpElemSelectEvent 0\n"),
            "");
  EXPECT_EQ(
      play("choose \"Paste\"\nexpect message \"dispatched PopUpElemSelectEvent item Paste\"\n"),
      "");
}

TEST_F(ScriptTest, AnswersAreQueuedForTheFileChoiceOfTheNextGesture) {
  EXPECT_EQ(play("answer file \"/tmp/model.txt\"\n"
                 "run \"main#choose_file\"\n"
                 "expect message \"chose \\\"/tmp/model.txt\\\"\"\n"
                 "run \"main#choose_file\"\n"
                 "expect message \"chose \\\"\\\"\"\n"),
            "");
}

TEST_F(ScriptTest, ScriptErrorsNameTheLineAndStopThePlay) {
  EXPECT_EQ(play("\n# nothing\nwave hands\nexpect count Event 99\n"),
            "3: unknown statement 'wave'\n");
  EXPECT_EQ(play("event OpenDgrEvent graphDiagram Nobody\n"), "1: unknown name 'Nobody'\n");
  EXPECT_EQ(play("expect message \"open\n"), "1: unterminated string\n");
  EXPECT_EQ(play("expect message \"a\\q\"\n"), "1: unknown escape \\q in a string\n");
  EXPECT_EQ(play("expect count Event many\n"), "1: expected a count, found 'many'\n");
  EXPECT_EQ(play("expect wonders\n"), "1: unknown expectation 'wonders'\n");
  EXPECT_EQ(play("run \"main#note_third\" now\n"), "1: unexpected 'now'\n");
  EXPECT_EQ(play("find Nothing as N\n"), "1: there is no class Nothing\n");
  EXPECT_EQ(play("find GraphDiagram where caption = \"None\" as N\n"),
            "1: there is no GraphDiagram where caption = \"None\"\n");
  EXPECT_EQ(play("event RClickEvent\n"),
            "1: No handler is registered for RClickEvent (onRClickEvent of GraphDiagramEngine, "
            "HeadEngine, MultiUserEngine).\n");
  EXPECT_EQ(play("run \"main#missing\"\n"), "1: handler \"main#missing\" did not run\n");
  EXPECT_EQ(play("expect current diagram \"First\"\n"), "1: there is no current diagram\n");
  EXPECT_EQ(play("expect message \"caf\xE9\"\n"), "1: the line is not valid UTF-8\n");
}

TEST_F(ScriptTest, WhatRanBeforeAScriptErrorStaysCommitted) {
  EXPECT_EQ(play("run \"main#open_first_diagram\"\nexpect count GraphDiagram 7\n"),
            "2: expected 7 GraphDiagram, found 1\n");
  reopen();
  std::vector<RepId> diagrams = objectsOf("GraphDiagram");
  ASSERT_EQ(diagrams.size(), 1u);
  EXPECT_EQ(attribute(diagrams[0], "caption"), "First");
}

TEST_F(ScriptTest, NamesOfDeletedObjectsAreReported) {
  std::string error = play(
      "event LClickEvent as Click\nevent LClickEvent info \"keep\"\nexpect Click.info = \"\"\n");
  EXPECT_EQ(error.rfind("3: 'Click' (object ", 0), 0u) << error;
  EXPECT_NE(error.find(") no longer exists\n"), std::string::npos) << error;
}

// The dialog engine: forms shown modally and modelessly, the commands that
// wait behind a modal form, closing and deleting, and the gestures on forms
// with the dialog events they raise.
#include "tests/host/script/GestureFixture.h"

using grhost::model::objectsOf;

namespace {

class DialogEngineTest : public GestureTest {
 protected:
  void SetUp() override {
    GestureTest::SetUp();
    createWithTestLibrary();
    grhost::model::SaveTransaction transaction;
    form = make("D#Form", {{"caption", "Ask"}, {"id", "ask"}});
    RepId row = component(form, "D#Row", {});
    field = component(row, "D#InputField", {{"id", "name"}});
    handle(field, "Change", "note_second");
    handle(field, "FocusLost", "note_third");
    component(row, "D#CheckBox", {{"id", "flag"}, {"checked", "false"}});
    RepId combo = component(row, "D#ComboBox", {{"id", "kind"}});
    link(combo, "item", make("D#Item", {{"value", "one"}}));
    ok = component(form, "D#Button", {{"caption", "OK"}});
    handle(ok, "Click", "void_entry");
    component(form, "D#Button", {{"caption", "Plain"}});
    component(form, "D#Button", {{"caption", "Off"}, {"enabled", "false"}});
  }

  static RepId component(RepId container, const std::string& className,
                         const std::vector<std::pair<std::string, std::string>>& values) {
    RepId made = make(className, values);
    link(container, "component", made);
    return made;
  }
  // A handler of this library, as the library's own forms make them.
  static void handle(RepId source, const std::string& event, const std::string& transformation) {
    RepId handler = make(
        "D#EventHandler",
        {{"eventName", event}, {"transformationName", transformation}, {"procedureName", "main"}});
    link(handler, "eventSource", source);
  }
  // Queues a command as the library does: the newest link of the LastCmdPtr.
  void queue(RepId command) {
    grhost::model::SaveTransaction transaction;
    link(grhost::model::firstOrCreate("LastCmdPtr"), "command", command);
    head().queue().enqueueNewest();
  }
  void queueWord(RepId receiver, const std::string& word) {
    RepId command = make("D#Command", {{"info", word}});
    link(command, "receiver", receiver);
    queue(command);
  }
  void queueTransformation(const std::string& reference) {
    queue(make("ExecTransfCmd", {{"info", reference}}));
  }
  // Executes the queue; the modal texts shown meanwhile.
  Texts execute() {
    std::size_t before = mark();
    head().executeCommands();
    return shownSince(before);
  }
  grhost::DialogEngine& dialogs() { return head().dialogs(); }

  RepId form = 0, field = 0, ok = 0;
};

}  // namespace

TEST_F(DialogEngineTest, CommandsQueuedBehindAModalFormWaitUntilItClosesAndTheClosingRunEnds) {
  queueWord(form, "ShowModal");
  queueTransformation("main#note_second");
  queueWord(form, "Delete");
  EXPECT_EQ(execute(), Texts{});
  EXPECT_EQ(dialogs().modalForm(), form);
  EXPECT_EQ(dialogs().activeForm(), form);
  EXPECT_EQ(head().queue().pending().size(), 2u);
  // Another run leaves them waiting too.
  queueTransformation("main#note_first");
  EXPECT_EQ(execute(), (Texts{"first", "third"}));
  EXPECT_TRUE(dialogs().isOpen(form));
  // The run that closes the form finishes before the waiting commands.
  queueWord(form, "Close");
  queueTransformation("main#void_entry");
  EXPECT_EQ(execute(), (Texts{"void entry ran", "second"}));
  EXPECT_FALSE(ObjectExists(form));
  EXPECT_TRUE(head().queue().pending().empty());
  EXPECT_TRUE(objectsOf("D#Component").empty());
}

TEST_F(DialogEngineTest, AModelessFormHoldsNothingAndRefreshChangesNothing) {
  queueWord(form, "Show");
  queueTransformation("main#note_second");
  queueWord(form, "Refresh");
  EXPECT_EQ(execute(), Texts{"second"});
  EXPECT_TRUE(dialogs().isOpen(form));
  EXPECT_EQ(dialogs().modalForm(), 0u);
  ASSERT_EQ(dialogs().record().size(), 2u);
  EXPECT_EQ(dialogs().record()[1].info, "Refresh");
  EXPECT_EQ(dialogs().record()[1].receiver, form);
  queueWord(form, "Close");
  execute();
  EXPECT_EQ(dialogs().activeForm(), 0u);
  EXPECT_TRUE(ObjectExists(form));
}

TEST_F(DialogEngineTest, DeleteTakesTheFormsPartsAlongAndLeavesOtherFormsAlone) {
  RepId other = 0, otherField = 0;
  {
    grhost::model::SaveTransaction transaction;
    other = make("D#Form", {{"caption", "Other"}});
    otherField = component(other, "D#TextArea", {{"id", "text"}});
    handle(otherField, "Change", "note_second");
  }
  queueWord(form, "Show");
  queueWord(form, "Delete");
  execute();
  EXPECT_FALSE(ObjectExists(form));
  EXPECT_EQ(dialogs().activeForm(), 0u);
  EXPECT_EQ(objectsOf("D#Component"), (std::vector<RepId>{other, otherField}));
  EXPECT_EQ(objectsOf("D#EventHandler").size(), 1u);
  EXPECT_TRUE(objectsOf("D#Item").empty());
}

TEST_F(DialogEngineTest, AnInnerModalLoopEndsBeforeTheOuterOne) {
  RepId inner = make("D#Form", {{"caption", "Inner"}});
  queueWord(form, "ShowModal");
  queueTransformation("main#note_first");
  execute();
  queueWord(inner, "ShowModal");
  queueTransformation("main#note_second");
  EXPECT_EQ(execute(), Texts{});
  EXPECT_EQ(dialogs().activeForm(), inner);
  queueWord(inner, "Close");
  EXPECT_EQ(execute(), Texts{"second"});
  EXPECT_EQ(dialogs().modalForm(), form);
  queueWord(form, "Close");
  EXPECT_EQ(execute(), (Texts{"first", "third"}));
  EXPECT_EQ(dialogs().activeForm(), 0u);
}

TEST_F(DialogEngineTest, TypingAndPressingRaiseTheDialogEventsOfTheComponents) {
  queueWord(form, "ShowModal");
  execute();
  EXPECT_EQ(play("type \"name\" \"Ann\"\n"
                 "expect message \"second\"\n"  // Change
                 "expect field \"name\" = \"Ann\"\n"
                 "type \"name\" \"Bo\"\n"
                 "expect message \"second\"\n"
                 "expect field \"name\" = \"Bo\"\n"
                 "expect field \"flag\" = \"false\"\n"),
            "");
  RepId changed = leftEvent("D#Event");
  EXPECT_EQ(info(changed), "Change");
  EXPECT_EQ(partner(changed, "source"), field);
  EXPECT_EQ(partner(changed, "form"), form);
  // The focus leaves the field for the button: FocusLost, then Click.
  EXPECT_EQ(play("press \"OK\"\nexpect message \"third\"\nexpect message \"void entry ran\""), "");
  RepId click = leftEvent("D#Event");
  EXPECT_EQ(info(click), "Click");
  EXPECT_EQ(partner(click, "source"), ok);
  EXPECT_EQ(partner(click, "form"), form);
  // A button without a handler of its own goes to the dispatcher.
  EXPECT_EQ(play("press \"Plain\"\nexpect message \"dispatched D#Event Click\""), "");
  EXPECT_EQ(play("press \"OK\"\nexpect no message"),
            "2: messages since the last gesture: \"void entry ran\"");
}

TEST_F(DialogEngineTest, FormGesturesAndExpectationsReportWhatTheFormLacks) {
  EXPECT_EQ(play("press \"OK\""), "1: no form is open");
  EXPECT_EQ(play("expect form \"Ask\""), "1: no form is open");
  EXPECT_EQ(play("expect no form"), "");
  queueWord(form, "Show");
  execute();
  EXPECT_EQ(play("type \"zip\" \"1\""), "1: the form \"Ask\" has no field \"zip\"");
  EXPECT_EQ(play("type \"flag\" \"1\""),
            "1: the field \"flag\" is a D#CheckBox, which takes no text");
  EXPECT_EQ(play("press \"Cancel\""), "1: the form \"Ask\" has no button \"Cancel\"");
  EXPECT_EQ(play("press \"Off\""), "1: the button \"Off\" is disabled");
  EXPECT_EQ(play("expect form \"Tell\""), "1: the open form is \"Ask\", not \"Tell\"");
  EXPECT_EQ(play("expect no form"), "1: the form \"Ask\" is open");
  EXPECT_EQ(play("expect field \"name\" = \"Eve\""), "1: the field \"name\" is \"\", not \"Eve\"");
  EXPECT_EQ(play("expect field \"zip\" = \"\""), "1: the form \"Ask\" has no field \"zip\"");
  EXPECT_EQ(play("close"), "1: expected 'form', found the end of the line");
}

TEST_F(DialogEngineTest, ButtonsAndTheCloseBoxCloseTheFormAndEndItsLoop) {
  RepId done = 0, cancel = 0;
  {
    grhost::model::SaveTransaction transaction;
    done = component(form, "D#Button", {{"caption", "Done"}, {"closeOnClick", "true"}});
    cancel = component(form, "D#Button", {{"caption", "Cancel"}, {"deleteOnClick", "true"}});
    handle(cancel, "Click", "note_first");
    link(form, "cancelButton", cancel);
  }
  queueWord(form, "ShowModal");
  queueTransformation("main#note_second");
  execute();
  EXPECT_EQ(
      play(
          "press \"Done\"\nexpect message \"dispatched D#Event Click\"\nexpect message \"second\"\n"
          "expect no form"),
      "");
  EXPECT_TRUE(ObjectExists(done));
  // Without buttonClickOnClose the close box closes the form at once.
  queueWord(form, "ShowModal");
  execute();
  EXPECT_EQ(play("close form\nexpect no message\nexpect no form"), "");
  // The field typed into loses the focus as its window closes: what it holds
  // reaches its FocusLost handler.
  queueWord(form, "ShowModal");
  execute();
  EXPECT_EQ(play("type \"name\" \"Cy\"\nexpect message \"second\"\n"
                 "close form\nexpect message \"third\"\nexpect no form"),
            "");
  // With it, the close box presses the cancel button, which deletes the form.
  grhost::model::setAttribute(form, "buttonClickOnClose", "true");
  queueWord(form, "ShowModal");
  execute();
  EXPECT_EQ(play("close form\nexpect message \"first\"\nexpect message \"third\"\nexpect no form"),
            "");
  EXPECT_FALSE(ObjectExists(form));
}

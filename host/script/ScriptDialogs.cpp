// The form gestures of scripts: a field by its id, a button by its caption,
// on the active form.
#include "host/script/ScriptDialogs.h"

#include "host/gestures/Gestures.h"
#include "host/script/ScriptPlayer.h"

namespace grhost {
namespace {

// type "field id" "text"
void typeGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a field's id");
  std::string text = line.string("the text");
  line.finish();
  typeIntoField(player, id, text);
}

// press "caption"
void pressGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string caption = line.string("a button's caption");
  line.finish();
  pressButton(player, caption);
}

// close form: the window's close box.
void closeGesture(ScriptPlayer& player, ScriptLine& line) {
  line.keyword("form");
  line.finish();
  player.play(player.gestures().closeForm());
}

}  // namespace

void typeIntoField(ScriptPlayer& player, const std::string& id, const std::string& text) {
  Gestures& gestures = player.gestures();
  player.play(gestures.typeIntoField(gestures.field(id), text));
}

void pressButton(ScriptPlayer& player, const std::string& caption) {
  Gestures& gestures = player.gestures();
  player.play(gestures.pressButton(gestures.button(caption)));
}

void addDialogGestures(ScriptPlayer& player) {
  player.addGesture("type", [&player](ScriptLine& line) { typeGesture(player, line); });
  player.addGesture("press", [&player](ScriptLine& line) { pressGesture(player, line); });
  player.addGesture("close", [&player](ScriptLine& line) { closeGesture(player, line); });
}

}  // namespace grhost

// The gestures on open forms: typing into a field, pressing a button and
// closing the form's window. Each acts on the active form (the newest open
// one) and raises the dialog events the engine raises: "FocusLost" for the
// field the focus leaves, "Change" for a field typed into, "Click" for a
// button. A component's own D#EventHandler handles its event; a "Click"
// nobody registered for goes to the library's dispatcher, which runs the
// button's `transf_name`. Other events nobody handles are not raised.
#include "host/script/ScriptDialogs.h"

#include "host/base/Model.h"
#include "host/head/HeadEngine.h"
#include "host/script/ScriptPlayer.h"

namespace grhost {
namespace {

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

RepId activeForm(ScriptPlayer& player) {
  RepId form = player.head().dialogs().activeForm();
  if (!form) throw ScriptError("no form is open");
  return form;
}

void raiseDialogEvent(ScriptPlayer& player, RepId component, const std::string& eventName,
                      const std::string& handler) {
  EventSpec event{"D#Event", true, eventName, {{"source", component}}};
  if (RepId form = DialogEngine::formOf(component)) event.links.emplace_back("form", form);
  player.head().raiseEvent(event, handler);
}

void raiseIfHandled(ScriptPlayer& player, RepId component, const std::string& eventName) {
  if (!ObjectExists(component)) return;
  std::string handler = DialogEngine::handlerFor(component, eventName);
  if (!handler.empty()) raiseDialogEvent(player, component, eventName, handler);
}

void moveFocusTo(ScriptPlayer& player, RepId component) {
  if (RepId left = player.head().dialogs().focus(component))
    raiseIfHandled(player, left, "FocusLost");
}

bool isTrue(const std::string& value) {
  return value == "true" || value == "1";
}

// A button may close or delete its form by itself once its click is handled.
void finishClick(ScriptPlayer& player, RepId button, RepId form) {
  DialogEngine& dialogs = player.head().dialogs();
  if (isTrue(model::attribute(button, "deleteOnClick"))) {
    model::SaveTransaction transaction;
    dialogs.remove(form);
  } else if (isTrue(model::attribute(button, "closeOnClick"))) {
    dialogs.close(form);
  } else {
    return;
  }
  player.head().executeCommands();
}

void press(ScriptPlayer& player, RepId form, RepId button) {
  if (model::attribute(button, "enabled") == "false")
    throw ScriptError("the button " + quoted(model::attribute(button, "caption")) + " is disabled");
  moveFocusTo(player, button);
  std::string handler = DialogEngine::handlerFor(button, "Click");
  raiseDialogEvent(player, button, "Click", handler.empty() ? "main" : handler);
  finishClick(player, button, form);
}

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

// close form: the window's close box. A form that clicks a button on closing
// presses its cancel button; any other closes at once.
void closeGesture(ScriptPlayer& player, ScriptLine& line) {
  line.keyword("form");
  line.finish();
  RepId form = activeForm(player);
  RepId cancel = model::firstPartner(form, "cancelButton");
  if (cancel && isTrue(model::attribute(form, "buttonClickOnClose"))) {
    press(player, form, cancel);
    return;
  }
  player.head().dialogs().close(form);
  player.head().executeCommands();
}

}  // namespace

void typeIntoField(ScriptPlayer& player, const std::string& id, const std::string& text) {
  RepId form = activeForm(player);
  RepId field = DialogEngine::findComponent(form, "D#Component", "id", id);
  if (!field)
    throw ScriptError("the form " + quoted(model::attribute(form, "caption")) + " has no field " +
                      quoted(id));
  if (!model::hasAttribute(field, "text"))
    throw ScriptError("the field " + quoted(id) + " is a " + model::className(field) +
                      ", which takes no text");
  moveFocusTo(player, field);
  {
    model::SaveTransaction transaction;
    model::setAttribute(field, "text", text);
  }
  raiseIfHandled(player, field, "Change");
}

void pressButton(ScriptPlayer& player, const std::string& caption) {
  RepId form = activeForm(player);
  RepId button = DialogEngine::findComponent(form, "D#Button", "caption", caption);
  if (!button)
    throw ScriptError("the form " + quoted(model::attribute(form, "caption")) + " has no button " +
                      quoted(caption));
  press(player, form, button);
}

void addDialogGestures(ScriptPlayer& player) {
  player.addGesture("type", [&player](ScriptLine& line) { typeGesture(player, line); });
  player.addGesture("press", [&player](ScriptLine& line) { pressGesture(player, line); });
  player.addGesture("close", [&player](ScriptLine& line) { closeGesture(player, line); });
}

}  // namespace grhost

// The gestures on open forms: typing into a field, pressing a button and
// closing the form's window, on the active form (the newest open one). They
// raise the dialog events the engine raises: "FocusLost" for the component
// the focus leaves, "Change" for a field typed into, "Click" for a button. A
// component's own D#EventHandler handles its event; a "Click" nobody
// registered for goes to the library's dispatcher, which runs the button's
// `transf_name`. Other events nobody handles are not raised.
#include "host/base/Model.h"
#include "host/gestures/GestureRun.h"

namespace grhost {
namespace {

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

bool isTrue(const std::string& value) {
  return value == "true" || value == "1";
}

}  // namespace

void Gestures::raiseDialogEvent(RepId component, const std::string& eventName,
                                const std::string& handler) {
  EventSpec event{"D#Event", true, eventName, {{"source", component}}};
  if (RepId form = DialogEngine::formOf(component)) event.links.emplace_back("form", form);
  head_.raiseEvent(event, handler);
}

void Gestures::raiseIfHandled(RepId component, const std::string& eventName) {
  if (!ObjectExists(component)) return;
  std::string handler = DialogEngine::handlerFor(component, eventName);
  if (!handler.empty()) raiseDialogEvent(component, eventName, handler);
}

void Gestures::moveFocusTo(RepId component) {
  if (RepId left = head_.dialogs().focus(component)) raiseIfHandled(left, "FocusLost");
}

// A button may close or delete its form by itself once its click is handled.
void Gestures::press(RepId form, RepId pressed) {
  moveFocusTo(pressed);
  std::string handler = DialogEngine::handlerFor(pressed, "Click");
  raiseDialogEvent(pressed, "Click", handler.empty() ? "main" : handler);
  DialogEngine& dialogs = head_.dialogs();
  if (isTrue(model::attribute(pressed, "deleteOnClick"))) {
    dialogs.remove(form);
  } else if (isTrue(model::attribute(pressed, "closeOnClick"))) {
    dialogs.close(form);
  } else {
    return;
  }
  head_.executeCommands();
}

namespace {

// The component is part of the active form.
void checkOnForm(RepId component, RepId form, const std::string& what) {
  if (!ObjectExists(component) || DialogEngine::formOf(component) != form)
    throw GestureError("the form " + quoted(model::attribute(form, "caption")) + " has no " + what +
                       " " + std::to_string(component));
}

}  // namespace

namespace {

// A multi-line box holds one text line per line of the text; the lines it
// had are replaced.
void setLines(RepId box, const std::string& text) {
  for (RepId line : model::partners(box, "textLine")) model::remove(line);
  std::size_t start = 0;
  for (;;) {
    std::size_t cut = text.find('\n', start);
    RepId line = model::create("D#TextLine");
    model::setAttribute(line, "text",
                        text.substr(start, cut == std::string::npos ? cut : cut - start));
    model::setAttribute(line, "inserted", "true");
    model::setAttribute(line, "edited", "true");
    model::setAttribute(line, "deleted", "false");
    model::link(box, "textLine", line);
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
}

}  // namespace

GestureOutcome Gestures::typeIntoField(RepId target, const std::string& text) {
  RepId form = activeForm();
  checkOnForm(target, form, "field");
  bool lines = model::isKindOf(target, "D#MultiLineTextBox");
  if (!lines && !model::hasAttribute(target, "text"))
    throw GestureError("the field " + quoted(model::attribute(target, "id")) + " is a " +
                       model::className(target) + ", which takes no text");
  if (model::attribute(target, "editable") == "false" ||
      model::attribute(target, "enabled") == "false" ||
      model::attribute(target, "readOnly") == "true")
    throw GestureError("the field " + quoted(model::attribute(target, "id")) +
                       " does not take text");
  checkText(text, "the text");
  Run run(*this, "type");
  moveFocusTo(target);
  if (lines)
    setLines(target, text);
  else
    model::setAttribute(target, "text", text);
  raiseIfHandled(target, "Change");
  return run.finish();
}

GestureOutcome Gestures::pressButton(RepId pressed) {
  RepId form = activeForm();
  checkOnForm(pressed, form, "button");
  if (!model::isKindOf(pressed, "D#Button"))
    throw GestureError(describe(pressed) + " is no D#Button");
  if (model::attribute(pressed, "enabled") == "false")
    throw GestureError("the button " + quoted(model::attribute(pressed, "caption")) +
                       " is disabled");
  Run run(*this, "press");
  press(form, pressed);
  return run.finish();
}

// A form that clicks a button on closing presses its cancel button; any
// other closes at once. Either way the field being edited loses the focus
// first, as in any window that closes, so that what was typed into it is kept.
GestureOutcome Gestures::closeForm() {
  RepId form = activeForm();
  Run run(*this, "close form");
  RepId cancel = model::firstPartner(form, "cancelButton");
  if (cancel && isTrue(model::attribute(form, "buttonClickOnClose"))) {
    press(form, cancel);
  } else {
    moveFocusTo(0);
    if (ObjectExists(form)) head_.dialogs().close(form);
    head_.executeCommands();
  }
  return run.finish();
}

}  // namespace grhost

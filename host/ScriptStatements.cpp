// The statements every script has: raising an event, running a handler,
// choosing a menu item, naming an object, and answering the file and folder
// choices.
#include <algorithm>

#include "host/HeadEngine.h"
#include "host/Model.h"
#include "host/ScriptPlayer.h"

namespace grhost {
namespace {

// event CLASS [info "text"] [ROLE NAME]... [as NAME]
void raiseEvent(ScriptPlayer& player, ScriptLine& line) {
  EventSpec event;
  event.className = line.word("an event class");
  std::string name;
  while (!line.atEnd()) {
    if (line.accept("info")) {
      event.hasInfo = true;
      event.info = line.string("the info");
    } else if (line.accept("as")) {
      name = line.word("a name after 'as'");
      line.finish();
    } else {
      std::string role = line.word("a role, 'info' or 'as'");
      event.links.emplace_back(role, player.named(line.word("a name after role " + role)));
    }
  }
  RepId created = player.head().raiseEvent(event);
  if (!name.empty()) player.setName(name, created);
}

// run "handler"
void runHandler(ScriptPlayer& player, ScriptLine& line) {
  std::string handler = line.string("a handler");
  line.finish();
  if (!player.head().runAndExecute(handler))
    throw ScriptError("handler \"" + handler + "\" did not run");
}

// find CLASS [where ATTR = "value"] as NAME
void findObject(ScriptPlayer& player, ScriptLine& line) {
  std::string className = line.word("a class");
  std::string attribute, value;
  bool filtered = line.accept("where");
  if (filtered) {
    attribute = line.word("an attribute");
    line.equals();
    value = line.string("the value");
  }
  line.keyword("as");
  std::string name = line.word("a name");
  line.finish();
  if (!model::classId(className)) throw ScriptError("there is no class " + className);
  for (RepId object : model::objectsOf(className)) {
    if (!filtered || model::attribute(object, attribute) == value) {
      player.setName(name, object);
      return;
    }
  }
  throw ScriptError("there is no " + className +
                    (filtered ? " where " + attribute + " = \"" + value + "\"" : std::string()));
}

// choose "caption": picks an item of the last menu shown.
void chooseMenuItem(ScriptPlayer& player, ScriptLine& line) {
  std::string caption = line.string("a menu item's caption");
  line.finish();
  const std::vector<MenuItem>& menu = player.head().diagrams().lastMenu();
  auto item = std::find_if(menu.begin(), menu.end(),
                           [&](const MenuItem& entry) { return entry.caption == caption; });
  if (item == menu.end()) throw ScriptError("the last menu shown has no item \"" + caption + "\"");
  player.head().raiseEvent({"PopUpElemSelectEvent", false, "", {{"popUpElement", item->popUpElement}}});
}

// answer file "path" | answer folder "path"
void queueAnswer(ScriptPlayer& player, ScriptLine& line) {
  bool file = line.accept("file");
  if (!file) line.keyword("folder");
  std::string path = line.string("the path");
  line.finish();
  if (file)
    player.head().system().answerFile(path);
  else
    player.head().system().answerFolder(path);
}

}  // namespace

void addCoreStatements(ScriptPlayer& player) {
  player.addGesture("event", [&player](ScriptLine& line) { raiseEvent(player, line); });
  player.addGesture("run", [&player](ScriptLine& line) { runHandler(player, line); });
  player.addGesture("choose", [&player](ScriptLine& line) { chooseMenuItem(player, line); });
  player.addStatement("find", [&player](ScriptLine& line) { findObject(player, line); });
  player.addStatement("answer", [&player](ScriptLine& line) { queueAnswer(player, line); });
}

}  // namespace grhost

// The statements every script has: raising an event, running a handler,
// choosing a menu item, naming an object, and answering the file and folder
// choices; with them the gestures of the diagram and dialog engines.
#include <algorithm>

#include "host/base/Model.h"
#include "host/head/HeadEngine.h"
#include "host/script/ScriptCreated.h"
#include "host/script/ScriptPlayer.h"

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

// find NAME.ROLE as NAME: the first partner over the role.
void findPartner(ScriptPlayer& player, const std::string& reference, ScriptLine& line) {
  line.keyword("as");
  std::string name = line.word("a name");
  line.finish();
  std::size_t dot = reference.find('.');
  RepId object = player.named(reference.substr(0, dot));
  std::string role = reference.substr(dot + 1);
  if (!model::role(object, role))
    throw ScriptError(model::className(object) + " has no role " + role);
  RepId partner = model::firstPartner(object, role);
  if (!partner) throw ScriptError(reference + " leads to nothing");
  player.setName(name, partner);
}

// find CLASS [where ATTR = "value"] as NAME | find NAME.ROLE as NAME
void findObject(ScriptPlayer& player, ScriptLine& line) {
  std::string className = line.word("a class");
  if (className.find('.') != std::string::npos) {
    findPartner(player, className, line);
    return;
  }
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

// choose "caption" [as NAME...]: picks an item of the last menu shown; the
// names go to the elements it added to the current diagram, in their order.
void chooseMenuItem(ScriptPlayer& player, ScriptLine& line) {
  std::string caption = line.string("a menu item's caption");
  std::vector<std::string> names = namesAtEnd(line);
  const std::vector<MenuItem>& menu = player.head().diagrams().lastMenu();
  auto item = std::find_if(menu.begin(), menu.end(),
                           [&](const MenuItem& entry) { return entry.caption == caption; });
  if (item == menu.end()) throw ScriptError("the last menu shown has no item \"" + caption + "\"");
  NewElements added(player.head().diagrams().currentDiagram());
  player.head().raiseEvent(
      {"PopUpElemSelectEvent", false, "", {{"popUpElement", item->popUpElement}}});
  nameAll(player, names, added);
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
  addDiagramGestures(player);
  addDialogGestures(player);
}

}  // namespace grhost

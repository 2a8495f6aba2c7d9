// The gestures of the diagram engine: selecting, drawing with the palette,
// editing free shapes, moving line ends and nodes, clicks, tools, keys, the
// clipboard keys and the console. Each makes the event object the engine
// would make and runs its registered handler with the queued commands.
//
// Geometry the script gives is written to the element's `location` as the
// engine keeps it: "X Y W H" for nodes, ports and free boxes (top-left
// corner and size), "X1 Y1 X2 Y2 ..." for edges and free lines.
#include <algorithm>
#include <string>
#include <vector>

#include "host/base/Model.h"
#include "host/head/HeadEngine.h"
#include "host/script/ScriptCreated.h"
#include "host/script/ScriptDialogs.h"
#include "host/script/ScriptPlayer.h"

namespace grhost {
namespace {

const char* const kConsoleKey = "`";

struct Point {
  long x = 0;
  long y = 0;
};

// ---- what the gestures act on

RepId currentDiagram(ScriptPlayer& player) {
  RepId diagram = player.head().diagrams().currentDiagram();
  if (!diagram) throw ScriptError("there is no current diagram");
  return diagram;
}

std::string shownCaption(RepId object) {
  return "\"" + model::attribute(object, "caption") + "\"";
}

// A modal form takes every gesture until it closes.
void refuseWhileModal(ScriptPlayer& player) {
  if (RepId form = player.head().dialogs().modalForm())
    throw ScriptError("the modal form " + shownCaption(form) + " is open");
}

RepId diagramForGesture(ScriptPlayer& player) {
  refuseWhileModal(player);
  return currentDiagram(player);
}

RepId typeOf(RepId diagram) {
  RepId type = model::firstPartner(diagram, "graphDiagramType");
  if (!type) throw ScriptError("the diagram " + shownCaption(diagram) + " has no type");
  return type;
}

// The entry of CLASSNAME with this caption in the palettes of the diagram's type.
RepId paletteEntry(RepId diagram, const std::string& className, const std::string& caption) {
  for (RepId palette : model::partners(typeOf(diagram), "palette"))
    for (RepId entry : model::partners(palette, "paletteElement"))
      if (model::isKindOf(entry, className) && model::attribute(entry, "caption") == caption)
        return entry;
  throw ScriptError("the palette of " + shownCaption(diagram) + " has no " + className + " \"" +
                    caption + "\"");
}

RepId toolOf(RepId diagram, const std::string& caption) {
  for (RepId toolbar : model::partners(typeOf(diagram), "toolbar"))
    for (RepId tool : model::partners(toolbar, "tool"))
      if (model::attribute(tool, "caption") == caption) return tool;
  throw ScriptError("the tool bar of " + shownCaption(diagram) + " has no tool \"" + caption +
                    "\"");
}

// A named element of CLASSNAME shown in the diagram.
RepId elementIn(ScriptPlayer& player, RepId diagram, const std::string& name,
                const std::string& className = "Element") {
  RepId element = player.named(name);
  if (!model::isKindOf(element, className))
    throw ScriptError("'" + name + "' is no " + className + " but a " + model::className(element));
  if (model::firstPartner(element, "graphDiagram") != diagram)
    throw ScriptError("'" + name + "' is not in the current diagram " + shownCaption(diagram));
  return element;
}

// ---- geometry

void writeLocation(RepId element, const std::string& location) {
  if (!ObjectExists(element)) return;
  model::SaveTransaction transaction;
  model::setAttribute(element, "location", location);
}

std::string boxLocation(Point corner, long width, long height) {
  return std::to_string(corner.x) + " " + std::to_string(corner.y) + " " + std::to_string(width) +
         " " + std::to_string(height);
}

std::string lineLocation(const std::vector<Point>& points) {
  std::string text;
  for (const Point& point : points)
    text += (text.empty() ? "" : " ") + std::to_string(point.x) + " " + std::to_string(point.y);
  return text;
}

// ---- reading the line

Point point(ScriptLine& line) {
  Point p;
  p.x = line.number("an x coordinate");
  p.y = line.number("a y coordinate");
  return p;
}

long extent(ScriptLine& line, const std::string& what) {
  long value = line.number(what);
  if (value <= 0) throw ScriptError(what + " must be positive");
  return value;
}

// "as NAME" at the end of the line, or nothing.
std::string optionalName(ScriptLine& line) {
  std::string name;
  if (line.accept("as")) name = line.word("a name after 'as'");
  line.finish();
  return name;
}

// "[at X Y [size W H]]": where a box is drawn; without a size the box has
// the default size of its style.
struct Placement {
  bool placed = false;
  Point corner;
  bool sized = false;
  long width = 0;
  long height = 0;
};

void readSize(ScriptLine& line, Placement& placement) {
  placement.sized = true;
  placement.width = extent(line, "a width");
  placement.height = extent(line, "a height");
}

Placement placement(ScriptLine& line) {
  Placement result;
  if (line.accept("at")) {
    result.placed = true;
    result.corner = point(line);
    if (line.accept("size")) readSize(line, result);
  } else if (line.nextIs("size")) {
    throw ScriptError("'size' needs 'at X Y' before it");
  }
  return result;
}

long styleExtent(RepId element, const std::string& attribute) {
  std::string value = model::attribute(model::firstPartner(element, "elemStyle"), attribute);
  try {
    return std::stol(value);
  } catch (const std::exception&) {
    throw ScriptError("the style of the new " + model::className(element) + " has no " + attribute +
                      "; give 'size W H'");
  }
}

void placeBox(RepId element, const Placement& where) {
  if (!element || !where.placed) return;
  long width = where.sized ? where.width : styleExtent(element, "width");
  long height = where.sized ? where.height : styleExtent(element, "height");
  writeLocation(element, boxLocation(where.corner, width, height));
}

// "from X Y [via X Y]... to X Y"
std::vector<Point> polyline(ScriptLine& line) {
  std::vector<Point> points;
  line.keyword("from");
  points.push_back(point(line));
  while (line.accept("via")) points.push_back(point(line));
  line.keyword("to");
  points.push_back(point(line));
  return points;
}

// The engine's point list: a first field it skips, then "x,y" per point.
std::string pointsInfo(const std::vector<Point>& points) {
  std::string info;
  for (const Point& p : points) info += "\\" + std::to_string(p.x) + "," + std::to_string(p.y);
  return info;
}

// ---- raising

void raise(ScriptPlayer& player, const EventSpec& event) {
  player.head().raiseEvent(event);
}

EventSpec event(const std::string& className,
                std::vector<std::pair<std::string, RepId>> links = {}) {
  return EventSpec{className, false, "", std::move(links)};
}

EventSpec eventWithInfo(const std::string& className, const std::string& info,
                        std::vector<std::pair<std::string, RepId>> links = {}) {
  return EventSpec{className, true, info, std::move(links)};
}

void pressKey(ScriptPlayer& player, const std::string& key) {
  raise(player, eventWithInfo("KeyDownEvent", key));
}

// ---- the gestures

// box "caption" [in NAME] [at X Y [size W H]] [as NAME]
void drawBox(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  EventSpec box = event(
      "NewBoxEvent",
      {{"paletteBox", paletteEntry(diagram, "PaletteBox", line.string("a palette caption"))}});
  if (line.accept("in"))
    box.links.emplace_back("node", elementIn(player, diagram, line.word("a node"), "Node"));
  Placement where = placement(line);
  std::string name = optionalName(line);
  NewElements added(diagram);
  raise(player, box);
  RepId node = added.first("Node");
  placeBox(node, where);
  nameCreated(player, name, node, "Node");
}

// line "caption" from NAME to NAME [as NAME]
void drawLine(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  RepId entry = paletteEntry(diagram, "PaletteLine", line.string("a palette caption"));
  line.keyword("from");
  RepId start = elementIn(player, diagram, line.word("the start element"));
  line.keyword("to");
  RepId end = elementIn(player, diagram, line.word("the end element"));
  std::string name = optionalName(line);
  NewElements added(diagram);
  raise(player, event("NewLineEvent", {{"paletteLine", entry}, {"start", start}, {"end", end}}));
  nameCreated(player, name, added.first("Edge"), "Edge");
}

// pin "caption" on NAME [at X Y [size W H]] [as NAME]
void drawPin(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  RepId entry = paletteEntry(diagram, "PalettePin", line.string("a palette caption"));
  line.keyword("on");
  RepId node = elementIn(player, diagram, line.word("a node"), "Node");
  Placement where = placement(line);
  std::string name = optionalName(line);
  NewElements added(diagram);
  raise(player, event("NewPinEvent", {{"palettePin", entry}, {"node", node}}));
  RepId port = added.first("Port");
  placeBox(port, where);
  nameCreated(player, name, port, "Port");
}

// freebox "caption" at X Y size W H [as NAME]
void drawFreeBox(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  RepId entry = paletteEntry(diagram, "PaletteFreeBox", line.string("a palette caption"));
  line.keyword("at");
  Point corner = point(line);
  line.keyword("size");
  long width = extent(line, "a width"), height = extent(line, "a height");
  std::string name = optionalName(line);
  std::string info = std::to_string(width) + ";" + std::to_string(height) + ";" +
                     std::to_string(corner.x) + ";" + std::to_string(corner.y);
  NewElements added(diagram);
  raise(player, eventWithInfo("NewFreeBoxEvent", info, {{"paletteFreeBox", entry}}));
  RepId box = added.first("FreeBox");
  writeLocation(box, boxLocation(corner, width, height));
  nameCreated(player, name, box, "FreeBox");
}

// freeline "caption" from X Y [via X Y]... to X Y [as NAME]
void drawFreeLine(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  RepId entry = paletteEntry(diagram, "PaletteFreeLine", line.string("a palette caption"));
  std::vector<Point> points = polyline(line);
  std::string name = optionalName(line);
  NewElements added(diagram);
  raise(player,
        eventWithInfo("NewFreeLineEvent", pointsInfo(points), {{"paletteFreeLine", entry}}));
  RepId freeLine = added.first("FreeLine");
  writeLocation(freeLine, lineLocation(points));
  nameCreated(player, name, freeLine, "FreeLine");
}

// edit freebox NAME at X Y size W H | edit freeline NAME from ... to ...
void editFreeShape(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  if (line.accept("freebox")) {
    RepId box = elementIn(player, diagram, line.word("a free box"), "FreeBox");
    line.keyword("at");
    Point corner = point(line);
    line.keyword("size");
    long width = extent(line, "a width"), height = extent(line, "a height");
    line.finish();
    std::string info = std::to_string(width) + "," + std::to_string(height) + "\\" +
                       std::to_string(corner.x) + "," + std::to_string(corner.y);
    raise(player, eventWithInfo("FreeBoxEditedEvent", info, {{"element", box}}));
    writeLocation(box, boxLocation(corner, width, height));
    return;
  }
  line.keyword("freeline");
  RepId freeLine = elementIn(player, diagram, line.word("a free line"), "FreeLine");
  std::vector<Point> points = polyline(line);
  line.finish();
  raise(player, eventWithInfo("FreeLineEditedEvent", pointsInfo(points), {{"element", freeLine}}));
  writeLocation(freeLine, lineLocation(points));
}

// move start|end of NAME to NAME [as NAME]: NAME is the edge afterwards,
// the same one or the one that replaced it.
void moveLineEnd(ScriptPlayer& player, ScriptLine& line, RepId diagram, bool start) {
  line.keyword("of");
  RepId edge = elementIn(player, diagram, line.word("a line"), "Edge");
  line.keyword("to");
  RepId target = elementIn(player, diagram, line.word("the new end element"));
  std::string name = optionalName(line);
  NewElements added(diagram);
  raise(player, event(start ? "MoveLineStartPointEvent" : "MoveLineEndPointEvent",
                      {{"edge", edge}, {"target", target}}));
  RepId after = added.first("Edge");
  nameCreated(player, name, after ? after : (ObjectExists(edge) ? edge : 0), "Edge");
}

// move NAME into NAME | move NAME out
void moveNode(ScriptPlayer& player, ScriptLine& line, RepId diagram, const std::string& nodeName) {
  EventSpec change =
      event("ChangeParentEvent", {{"node", elementIn(player, diagram, nodeName, "Node")}});
  if (line.accept("into"))
    change.links.emplace_back("target",
                              elementIn(player, diagram, line.word("the new parent"), "Node"));
  else
    line.keyword("out");
  line.finish();
  raise(player, change);
}

void move(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  std::string first = line.word("'start', 'end' or a node");
  if ((first == "start" || first == "end") && line.nextIs("of"))
    moveLineEnd(player, line, diagram, first == "start");
  else
    moveNode(player, line, diagram, first);
}

// transform "reference"
void transform(ScriptPlayer& player, ScriptLine& line) {
  diagramForGesture(player);
  std::string reference = line.string("a transformation reference");
  line.finish();
  raise(player, eventWithInfo("ExecTransfEvent", reference));
}

RepId selectionOf(RepId diagram) {
  RepId selection = model::firstPartner(diagram, "collection");
  if (!selection) throw ScriptError("the current diagram has no selection (Collection)");
  return selection;
}

void setSelection(RepId diagram, const std::vector<RepId>& elements) {
  RepId selection = selectionOf(diagram);
  model::SaveTransaction transaction;
  model::unlinkAll(selection, "element");
  for (RepId element : elements) model::link(selection, "element", element);
}

// A click on an element outside the selection selects it alone; one on a
// selected element keeps the selection.
void clickOn(RepId diagram, RepId element) {
  std::vector<RepId> selected = model::partners(selectionOf(diagram), "element");
  if (std::find(selected.begin(), selected.end(), element) == selected.end())
    setSelection(diagram, {element});
}

// select NAME... | select none
void selectElements(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  std::vector<RepId> chosen;
  if (!line.accept("none")) {
    do chosen.push_back(elementIn(player, diagram, line.word("an element's name")));
    while (!line.atEnd());
  }
  line.finish();
  setSelection(diagram, chosen);
}

// doubleclick NAME
void doubleClick(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  RepId element = elementIn(player, diagram, line.word("an element"));
  line.finish();
  clickOn(diagram, element);
  raise(player, event("L2ClickEvent", {{"element", element}}));
}

// rightclick [NAME]: on the element, or on the empty canvas (which keeps the
// selection)
void rightClick(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  EventSpec click = event("RClickEvent");
  if (!line.atEnd()) {
    RepId element = elementIn(player, diagram, line.word("an element"));
    clickOn(diagram, element);
    click.links.emplace_back("element", element);
  }
  line.finish();
  raise(player, click);
}

// tool "caption"
void selectTool(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  RepId tool = toolOf(diagram, line.string("a tool's caption"));
  line.finish();
  raise(player, event("ToolSelectEvent", {{"tool", tool}}));
}

// key "text"
void key(ScriptPlayer& player, ScriptLine& line) {
  diagramForGesture(player);
  std::string text = line.string("a key");
  line.finish();
  pressKey(player, text);
}

// copy | cut | delete: the keys of the clipboard.
void clipboardKey(ScriptPlayer& player, ScriptLine& line, const std::string& keyText) {
  diagramForGesture(player);
  line.finish();
  pressKey(player, keyText);
}

// paste [as NAME...]: the names go to the pasted elements in their order.
void paste(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = diagramForGesture(player);
  std::vector<std::string> names = namesAtEnd(line);
  NewElements added(diagram);
  pressKey(player, "Ctrl V");
  nameAll(player, names, added);
}

RepId openConsole(ScriptPlayer& player) {
  RepId form = player.head().dialogs().activeForm();
  return model::attribute(form, "id") == "Console" ? form : 0;
}

// console "expression": the console key unless the console is open, then the
// expression typed into its input and "Evaluate" pressed. It stays open.
void console(ScriptPlayer& player, ScriptLine& line) {
  std::string expression = line.string("an expression");
  line.finish();
  if (!openConsole(player)) {
    diagramForGesture(player);
    pressKey(player, kConsoleKey);
    if (!openConsole(player)) throw ScriptError("the console key opened no console");
  }
  typeIntoField(player, "input", expression);
  pressButton(player, "Evaluate");
}

// open "caption" | open NAME: the user opens a diagram (from the project
// tree); the engine shows it and tells the library with an OpenDgrEvent.
void openDiagram(ScriptPlayer& player, ScriptLine& line) {
  refuseWhileModal(player);
  RepId diagram = 0;
  if (line.nextIsString()) {
    std::string caption = line.string("a diagram's caption");
    for (RepId candidate : model::objectsOf("GraphDiagram"))
      if (!diagram && model::attribute(candidate, "caption") == caption) diagram = candidate;
    if (!diagram) throw ScriptError("there is no diagram \"" + caption + "\"");
  } else {
    diagram = player.named(line.word("a diagram"));
    if (!model::isKindOf(diagram, "GraphDiagram"))
      throw ScriptError("'" + player.describe(diagram) + "' is no GraphDiagram");
  }
  line.finish();
  {
    model::SaveTransaction transaction;
    RepId show = model::create("ActiveDgrCmd");
    model::link(show, "graphDiagram", diagram);
    player.head().executeCommand(show);
  }
  raise(player, event("OpenDgrEvent", {{"graphDiagram", diagram}}));
}

// text NAME "TYPE-ID" "value": the user edits a compartment's text in place.
void editText(ScriptPlayer& player, ScriptLine& line) {
  refuseWhileModal(player);
  std::string name = line.word("an element");
  RepId element = player.named(name);
  std::string typeId = line.string("a compartment type's id");
  std::string text = line.string("the text");
  line.finish();
  RepId compartment = model::compartmentOfType(element, typeId);
  if (!compartment)
    throw ScriptError("'" + name + "' has no compartment of type \"" + typeId + "\"");
  if (!player.head().editCompartmentText(compartment, text))
    throw ScriptError("the compartment's text can not be edited");
}

}  // namespace

void addDiagramGestures(ScriptPlayer& player) {
  auto add = [&player](const std::string& keyword, void (*gesture)(ScriptPlayer&, ScriptLine&)) {
    player.addGesture(keyword, [&player, gesture](ScriptLine& line) { gesture(player, line); });
  };
  player.addStatement("select", [&player](ScriptLine& line) { selectElements(player, line); });
  add("box", drawBox);
  add("line", drawLine);
  add("pin", drawPin);
  add("freebox", drawFreeBox);
  add("freeline", drawFreeLine);
  add("edit", editFreeShape);
  add("move", move);
  add("transform", transform);
  add("doubleclick", doubleClick);
  add("rightclick", rightClick);
  add("tool", selectTool);
  add("key", key);
  add("paste", paste);
  add("console", console);
  add("open", openDiagram);
  add("text", editText);
  for (auto [keyword, keyText] :
       {std::pair{"copy", "Ctrl C"}, {"cut", "Ctrl X"}, {"delete", "Delete"}}) {
    std::string text = keyText;
    player.addGesture(keyword,
                      [&player, text](ScriptLine& line) { clipboardKey(player, line, text); });
  }
}

}  // namespace grhost

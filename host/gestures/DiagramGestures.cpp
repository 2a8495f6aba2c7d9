// The gestures of the diagram engine. Each makes the event object the
// engine makes, with the links and `info` it gives, and runs the handler
// registered for it with its commands.
//
// Geometry the user gives is written to the new element's `location` as the
// engine keeps it ("X Y W H" for boxes, "X1 Y1 X2 Y2 ..." for lines) after
// its handler ran and before its commands draw it.
#include <algorithm>
#include <span>

#include "host/base/Model.h"
#include "host/gestures/GestureRun.h"

namespace grhost {
namespace {

using geometry::Box;
using geometry::Point;
using geometry::Polyline;

using geometry::kMaxCoordinate;

void checkCoordinate(long value, const char* what) {
  if (value < -kMaxCoordinate || value > kMaxCoordinate)
    throw GestureError(std::string(what) + " " + std::to_string(value) + " is out of range (±" +
                       std::to_string(kMaxCoordinate) + ")");
}

void checkBox(const Box& box) {
  checkCoordinate(box.x, "x");
  checkCoordinate(box.y, "y");
  checkCoordinate(box.w, "a width");
  checkCoordinate(box.h, "a height");
  if (box.w <= 0) throw GestureError("a width must be positive");
  if (box.h <= 0) throw GestureError("a height must be positive");
}

void checkPoints(const Polyline& points) {
  if (points.size() < 2) throw GestureError("a line needs two points at least");
  for (const Point& point : points) {
    checkCoordinate(point.x, "x");
    checkCoordinate(point.y, "y");
  }
}

EventSpec event(const std::string& className,
                std::vector<std::pair<std::string, RepId>> links = {}) {
  return EventSpec{className, false, "", std::move(links)};
}

EventSpec eventWithInfo(const std::string& className, const std::string& info,
                        std::vector<std::pair<std::string, RepId>> links = {}) {
  return EventSpec{className, true, info, std::move(links)};
}

// The engine's point list: a first field it skips, then "x,y" per point.
std::string pointsInfo(const Polyline& points) {
  std::string info;
  for (const Point& p : points) info += "\\" + std::to_string(p.x) + "," + std::to_string(p.y);
  return info;
}

void writeLocation(RepId element, const std::string& location) {
  if (ObjectExists(element)) model::setAttribute(element, "location", location);
}

int styleExtent(RepId element, const std::string& attribute) {
  std::string value = model::attribute(model::firstPartner(element, "elemStyle"), attribute);
  try {
    return std::stoi(value);
  } catch (const std::exception&) {
    throw GestureError("the style of the new " + model::className(element) + " has no " +
                       attribute + "; give 'size W H'");
  }
}

// The first element of CLASSNAME created since the gesture began.
RepId firstCreated(std::span<const RepChange> changes, const std::string& className) {
  for (const RepChange& change : changes)
    if (change.kind == REP_CHANGE_CREATED && model::isKindOf(change.object, className))
      return change.object;
  return 0;
}

}  // namespace

// A refusal that comes while the element is being drawn waits until the
// gesture's commands have run, so that the gesture ends as the user left it.
class PendingRefusal {
 public:
  template <class Work>
  void attempt(Work work) {
    try {
      work();
    } catch (const GestureError& refusal) {
      text_ = refusal.what();
    }
  }
  void raiseIfAny() const {
    if (!text_.empty()) throw GestureError(text_);
  }

 private:
  std::string text_;
};

// ---- drawing

GestureOutcome Gestures::drawBox(RepId paletteBox, RepId parentNode, const BoxPlacement& where) {
  RepId diagram = diagramForGesture();
  EventSpec box =
      event("NewBoxEvent", {{"paletteBox", entryOfDiagram(paletteBox, diagram, "PaletteBox")}});
  if (parentNode) box.links.emplace_back("node", elementInDiagram(parentNode, diagram, "Node"));
  if (where.corner) {
    checkCoordinate(where.corner->x, "x");
    checkCoordinate(where.corner->y, "y");
  }
  if (where.width) checkBox({0, 0, *where.width, where.height.value_or(0)});
  Run run(*this, "box");
  PendingRefusal refusal;
  run.outcome().event = raise(box, [&] { refusal.attempt([&] { placeAdded("Node", where); }); });
  GestureOutcome outcome = run.finish();
  refusal.raiseIfAny();
  return outcome;
}

void Gestures::placeAdded(const std::string& className, const BoxPlacement& where) {
  if (!where.corner) return;
  RepId element = firstCreated(changes_.pending(), className);
  if (!element) return;
  int width = where.width ? *where.width : styleExtent(element, "width");
  int height = where.height ? *where.height : styleExtent(element, "height");
  writeLocation(element, geometry::formatBox({where.corner->x, where.corner->y, width, height}));
}

GestureOutcome Gestures::drawLine(RepId paletteLine, RepId start, RepId end) {
  RepId diagram = diagramForGesture();
  EventSpec line =
      event("NewLineEvent", {{"paletteLine", entryOfDiagram(paletteLine, diagram, "PaletteLine")},
                             {"start", elementInDiagram(start, diagram, "Element")},
                             {"end", elementInDiagram(end, diagram, "Element")}});
  Run run(*this, "line");
  run.outcome().event = raise(line);
  return run.finish();
}

GestureOutcome Gestures::drawPin(RepId palettePin, RepId node, const BoxPlacement& where) {
  RepId diagram = diagramForGesture();
  EventSpec pin =
      event("NewPinEvent", {{"palettePin", entryOfDiagram(palettePin, diagram, "PalettePin")},
                            {"node", elementInDiagram(node, diagram, "Node")}});
  if (where.width) checkBox({0, 0, *where.width, where.height.value_or(0)});
  Run run(*this, "pin");
  PendingRefusal refusal;
  run.outcome().event = raise(pin, [&] { refusal.attempt([&] { placeAdded("Port", where); }); });
  GestureOutcome outcome = run.finish();
  refusal.raiseIfAny();
  return outcome;
}

GestureOutcome Gestures::drawFreeBox(RepId paletteFreeBox, const Box& box) {
  RepId diagram = diagramForGesture();
  RepId entry = entryOfDiagram(paletteFreeBox, diagram, "PaletteFreeBox");
  checkBox(box);
  std::string info = std::to_string(box.w) + ";" + std::to_string(box.h) + ";" +
                     std::to_string(box.x) + ";" + std::to_string(box.y);
  Run run(*this, "freebox");
  run.outcome().event =
      raise(eventWithInfo("NewFreeBoxEvent", info, {{"paletteFreeBox", entry}}), [&] {
        writeLocation(firstCreated(changes_.pending(), "FreeBox"), geometry::formatBox(box));
      });
  return run.finish();
}

GestureOutcome Gestures::drawFreeLine(RepId paletteFreeLine, const Polyline& points) {
  RepId diagram = diagramForGesture();
  RepId entry = entryOfDiagram(paletteFreeLine, diagram, "PaletteFreeLine");
  checkPoints(points);
  Run run(*this, "freeline");
  run.outcome().event = raise(
      eventWithInfo("NewFreeLineEvent", pointsInfo(points), {{"paletteFreeLine", entry}}), [&] {
        writeLocation(firstCreated(changes_.pending(), "FreeLine"),
                      geometry::formatPolyline(points));
      });
  return run.finish();
}

// ---- editing

GestureOutcome Gestures::editFreeBox(RepId freeBox, const Box& box) {
  RepId diagram = diagramForGesture();
  elementInDiagram(freeBox, diagram, "FreeBox");
  checkBox(box);
  std::string info = std::to_string(box.w) + "," + std::to_string(box.h) + "\\" +
                     std::to_string(box.x) + "," + std::to_string(box.y);
  Run run(*this, "edit freebox");
  run.outcome().event = raise(eventWithInfo("FreeBoxEditedEvent", info, {{"element", freeBox}}),
                              [&] { writeLocation(freeBox, geometry::formatBox(box)); });
  return run.finish();
}

GestureOutcome Gestures::editFreeLine(RepId freeLine, const Polyline& points) {
  RepId diagram = diagramForGesture();
  elementInDiagram(freeLine, diagram, "FreeLine");
  checkPoints(points);
  Run run(*this, "edit freeline");
  run.outcome().event =
      raise(eventWithInfo("FreeLineEditedEvent", pointsInfo(points), {{"element", freeLine}}),
            [&] { writeLocation(freeLine, geometry::formatPolyline(points)); });
  return run.finish();
}

GestureOutcome Gestures::moveLineEnd(RepId edge, bool start, RepId target) {
  RepId diagram = diagramForGesture();
  EventSpec move = event(start ? "MoveLineStartPointEvent" : "MoveLineEndPointEvent",
                         {{"edge", elementInDiagram(edge, diagram, "Edge")},
                          {"target", elementInDiagram(target, diagram, "Element")}});
  Run run(*this, start ? "move start" : "move end");
  run.outcome().event = raise(move);
  return run.finish();
}

GestureOutcome Gestures::changeParent(RepId node, RepId newParent) {
  RepId diagram = diagramForGesture();
  EventSpec change =
      event("ChangeParentEvent", {{"node", elementInDiagram(node, diagram, "Node")}});
  if (newParent) change.links.emplace_back("target", elementInDiagram(newParent, diagram, "Node"));
  Run run(*this, "move into");
  run.outcome().event = raise(change);
  return run.finish();
}

// The lines at a moved box lose their route; the engine routes them anew.
GestureOutcome Gestures::moveElement(RepId element, const Box& box) {
  RepId diagram = diagramForGesture();
  elementInDiagram(element, diagram, "Element");
  if (model::isKindOf(element, "Edge") || model::isKindOf(element, "FreeLine"))
    throw GestureError(describe(element) + " is a line: move its ends or edit its points");
  checkBox(box);
  Run run(*this, "drag");
  writeLocation(element, geometry::formatBox(box));
  std::vector<RepId> ends = model::partners(element, "port");
  ends.push_back(element);
  for (RepId end : ends)
    for (const char* role : {"eStart", "eEnd"})
      for (RepId line : model::partners(end, role)) writeLocation(line, "");
  head_.diagrams().updateGeometry();
  return run.finish();
}

GestureOutcome Gestures::transform(const std::string& reference) {
  diagramForGesture();
  checkText(reference, "the transformation reference");
  Run run(*this, "transform");
  run.outcome().event = raise(eventWithInfo("ExecTransfEvent", reference));
  return run.finish();
}

// ---- selecting and clicking

namespace {

RepId selectionOf(RepId diagram) {
  RepId selection = model::firstPartner(diagram, "collection");
  if (!selection) throw GestureError("the current diagram has no selection (Collection)");
  return selection;
}

void setSelection(RepId diagram, const std::vector<RepId>& elements) {
  RepId selection = selectionOf(diagram);
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

}  // namespace

GestureOutcome Gestures::select(const std::vector<RepId>& elements) {
  RepId diagram = diagramForGesture();
  for (RepId element : elements) elementInDiagram(element, diagram, "Element");
  selectionOf(diagram);
  // What is selected is where the user works, not what the user made.
  Run run(*this, "select", false);
  setSelection(diagram, elements);
  return run.finish();
}

GestureOutcome Gestures::doubleClick(RepId element) {
  RepId diagram = diagramForGesture();
  elementInDiagram(element, diagram, "Element");
  selectionOf(diagram);
  Run run(*this, "doubleclick");
  clickOn(diagram, element);
  run.outcome().event = raise(event("L2ClickEvent", {{"element", element}}));
  return run.finish();
}

GestureOutcome Gestures::rightClick(RepId element) {
  RepId diagram = diagramForGesture();
  EventSpec click = event("RClickEvent");
  if (element) {
    elementInDiagram(element, diagram, "Element");
    selectionOf(diagram);
    click.links.emplace_back("element", element);
  }
  Run run(*this, "rightclick");
  if (element) clickOn(diagram, element);
  run.outcome().event = raise(click);
  return run.finish();
}

GestureOutcome Gestures::chooseMenuItem(RepId item) {
  const std::vector<MenuItem>& menu = head_.diagrams().lastMenu();
  if (std::none_of(menu.begin(), menu.end(),
                   [item](const MenuItem& entry) { return entry.popUpElement == item; }))
    throw GestureError("the last menu shown has no item " + std::to_string(item));
  Run run(*this, "choose");
  run.outcome().event = raise(event("PopUpElemSelectEvent", {{"popUpElement", item}}));
  return run.finish();
}

GestureOutcome Gestures::selectTool(RepId chosen) {
  RepId diagram = diagramForGesture();
  bool ours = false;
  for (RepId toolbar : model::partners(diagramType(diagram), "toolbar"))
    for (RepId candidate : model::partners(toolbar, "tool")) ours = ours || candidate == chosen;
  if (!ours)
    throw GestureError("the tool bar of \"" + model::attribute(diagram, "caption") +
                       "\" has no tool " + std::to_string(chosen));
  Run run(*this, "tool");
  run.outcome().event = raise(event("ToolSelectEvent", {{"tool", chosen}}));
  return run.finish();
}

namespace {

// What a step made by a key is called in the history.
std::string keyLabel(const std::string& key) {
  if (key == "Delete") return "delete";
  if (key == "Ctrl X") return "cut";
  if (key == "Ctrl V") return "paste";
  if (key == "Ctrl C") return "copy";
  return "key " + key;
}

}  // namespace

// Undo and redo are the host's, before any key shortcut of a diagram type.
GestureOutcome Gestures::pressKey(const std::string& key) {
  if (key == "Ctrl Z") return undo();
  if (key == "Ctrl Y" || key == "Ctrl Shift Z") return redo();
  diagramForGesture();
  if (key.empty()) throw GestureError("no key was given");
  checkText(key, "the key");
  Run run(*this, "key", true, keyLabel(key));
  run.outcome().event = raise(eventWithInfo("KeyDownEvent", key));
  return run.finish();
}

// ---- texts and diagrams

GestureOutcome Gestures::editText(RepId compartment, const std::string& text) {
  refuseWhileModal();
  if (!model::isKindOf(compartment, "Compartment"))
    throw GestureError(describe(compartment) + " is no Compartment");
  checkText(text, "the text");
  Run run(*this, "text");
  if (!head_.editCompartmentText(compartment, text))
    throw GestureError("the compartment's text can not be edited");
  return run.finish();
}

GestureOutcome Gestures::openDiagram(RepId diagram) {
  refuseWhileModal();
  if (!model::isKindOf(diagram, "GraphDiagram"))
    throw GestureError(describe(diagram) + " is no GraphDiagram");
  Run run(*this, "open");
  RepId show = model::create("ActiveDgrCmd");
  model::link(show, "graphDiagram", diagram);
  head_.executeCommand(show);
  run.outcome().event = raise(event("OpenDgrEvent", {{"graphDiagram", diagram}}));
  return run.finish();
}

}  // namespace grhost

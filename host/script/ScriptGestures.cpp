// The diagram gestures of scripts: each line is read, its names and captions
// are turned into the objects they stand for, and the gesture layer does
// the rest; the elements the gesture added get the line's names.
#include <string>
#include <vector>

#include "host/base/Model.h"
#include "host/gestures/Gestures.h"
#include "host/script/ScriptCreated.h"
#include "host/script/ScriptDialogs.h"
#include "host/script/ScriptPlayer.h"

namespace grhost {
namespace {

using geometry::Point;

const char* const kConsoleKey = "`";

// ---- reading the line

Point point(ScriptLine& line) {
  Point p;
  p.x = static_cast<int>(line.number("an x coordinate"));
  p.y = static_cast<int>(line.number("a y coordinate"));
  return p;
}

int extent(ScriptLine& line, const std::string& what) {
  long value = line.number(what);
  if (value <= 0) throw ScriptError(what + " must be positive");
  return static_cast<int>(value);
}

// "as NAME" at the end of the line, or nothing.
std::string optionalName(ScriptLine& line) {
  std::string name;
  if (line.accept("as")) name = line.word("a name after 'as'");
  line.finish();
  return name;
}

// "[at X Y [size W H]]": without a size the box gets its style's.
BoxPlacement placement(ScriptLine& line) {
  BoxPlacement result;
  if (line.accept("at")) {
    result.corner = point(line);
    if (line.accept("size")) {
      result.width = extent(line, "a width");
      result.height = extent(line, "a height");
    }
  } else if (line.nextIs("size")) {
    throw ScriptError("'size' needs 'at X Y' before it");
  }
  return result;
}

geometry::Box boxAt(ScriptLine& line) {
  line.keyword("at");
  Point corner = point(line);
  line.keyword("size");
  int width = extent(line, "a width");
  int height = extent(line, "a height");
  return {corner.x, corner.y, width, height};
}

// "from X Y [via X Y]... to X Y"
geometry::Polyline polyline(ScriptLine& line) {
  geometry::Polyline points;
  line.keyword("from");
  points.push_back(point(line));
  while (line.accept("via")) points.push_back(point(line));
  line.keyword("to");
  points.push_back(point(line));
  return points;
}

RepId named(ScriptPlayer& player, ScriptLine& line, const std::string& what) {
  return player.named(line.word(what));
}

// ---- the gestures

// box "caption" [in NAME] [at X Y [size W H]] [as NAME]
void drawBox(ScriptPlayer& player, ScriptLine& line) {
  Gestures& gestures = player.gestures();
  RepId entry = gestures.paletteEntry("PaletteBox", line.string("a palette caption"));
  RepId parent = line.accept("in") ? named(player, line, "a node") : 0;
  BoxPlacement where = placement(line);
  std::string name = optionalName(line);
  nameCreated(player, name, player.play(gestures.drawBox(entry, parent, where)), "Node");
}

// line "caption" from NAME to NAME [as NAME]
void drawLine(ScriptPlayer& player, ScriptLine& line) {
  Gestures& gestures = player.gestures();
  RepId entry = gestures.paletteEntry("PaletteLine", line.string("a palette caption"));
  line.keyword("from");
  RepId start = named(player, line, "the start element");
  line.keyword("to");
  RepId end = named(player, line, "the end element");
  std::string name = optionalName(line);
  nameCreated(player, name, player.play(gestures.drawLine(entry, start, end)), "Edge");
}

// pin "caption" on NAME [at X Y [size W H]] [as NAME]
void drawPin(ScriptPlayer& player, ScriptLine& line) {
  Gestures& gestures = player.gestures();
  RepId entry = gestures.paletteEntry("PalettePin", line.string("a palette caption"));
  line.keyword("on");
  RepId node = named(player, line, "a node");
  BoxPlacement where = placement(line);
  std::string name = optionalName(line);
  nameCreated(player, name, player.play(gestures.drawPin(entry, node, where)), "Port");
}

// freebox "caption" at X Y size W H [as NAME]
void drawFreeBox(ScriptPlayer& player, ScriptLine& line) {
  Gestures& gestures = player.gestures();
  RepId entry = gestures.paletteEntry("PaletteFreeBox", line.string("a palette caption"));
  geometry::Box box = boxAt(line);
  std::string name = optionalName(line);
  nameCreated(player, name, player.play(gestures.drawFreeBox(entry, box)), "FreeBox");
}

// freeline "caption" from X Y [via X Y]... to X Y [as NAME]
void drawFreeLine(ScriptPlayer& player, ScriptLine& line) {
  Gestures& gestures = player.gestures();
  RepId entry = gestures.paletteEntry("PaletteFreeLine", line.string("a palette caption"));
  geometry::Polyline points = polyline(line);
  std::string name = optionalName(line);
  nameCreated(player, name, player.play(gestures.drawFreeLine(entry, points)), "FreeLine");
}

// edit freebox NAME at X Y size W H | edit freeline NAME from ... to ...
void editFreeShape(ScriptPlayer& player, ScriptLine& line) {
  Gestures& gestures = player.gestures();
  if (line.accept("freebox")) {
    RepId box = named(player, line, "a free box");
    geometry::Box where = boxAt(line);
    line.finish();
    player.play(gestures.editFreeBox(box, where));
    return;
  }
  line.keyword("freeline");
  RepId freeLine = named(player, line, "a free line");
  geometry::Polyline points = polyline(line);
  line.finish();
  player.play(gestures.editFreeLine(freeLine, points));
}

// move start|end of NAME to NAME [as NAME]: NAME is the edge afterwards,
// the same one or the one that replaced it.
void moveLineEnd(ScriptPlayer& player, ScriptLine& line, bool start) {
  line.keyword("of");
  RepId edge = named(player, line, "a line");
  line.keyword("to");
  RepId target = named(player, line, "the new end element");
  std::string name = optionalName(line);
  const GestureOutcome& outcome = player.play(player.gestures().moveLineEnd(edge, start, target));
  RepId after = outcome.firstAdded("Edge");
  nameCreated(player, name, after ? after : (ObjectExists(edge) ? edge : 0), "Edge");
}

// move NAME into NAME | move NAME out | move NAME to X Y [size W H]
void moveNode(ScriptPlayer& player, ScriptLine& line, RepId node) {
  Gestures& gestures = player.gestures();
  if (line.accept("into")) {
    RepId parent = named(player, line, "the new parent");
    line.finish();
    player.play(gestures.changeParent(node, parent));
  } else if (line.accept("to")) {
    Point corner = point(line);
    std::optional<geometry::Box> now = geometry::parseBox(model::attribute(node, "location"));
    geometry::Box box{corner.x, corner.y, now ? now->w : 0, now ? now->h : 0};
    if (line.accept("size")) {
      box.w = extent(line, "a width");
      box.h = extent(line, "a height");
    } else if (!now) {
      throw ScriptError("'" + player.describe(node) + "' has no size yet; give 'size W H'");
    }
    line.finish();
    player.play(gestures.moveElement(node, box));
  } else {
    line.keyword("out");
    line.finish();
    player.play(gestures.changeParent(node, 0));
  }
}

void move(ScriptPlayer& player, ScriptLine& line) {
  std::string first = line.word("'start', 'end' or a node");
  if ((first == "start" || first == "end") && line.nextIs("of"))
    moveLineEnd(player, line, first == "start");
  else
    moveNode(player, line, player.named(first));
}

// transform "reference"
void transform(ScriptPlayer& player, ScriptLine& line) {
  std::string reference = line.string("a transformation reference");
  line.finish();
  player.play(player.gestures().transform(reference));
}

// select NAME... | select none: a statement, the window stays.
void selectElements(ScriptPlayer& player, ScriptLine& line) {
  std::vector<RepId> chosen;
  if (!line.accept("none")) {
    do chosen.push_back(named(player, line, "an element's name"));
    while (!line.atEnd());
  }
  line.finish();
  player.play(player.gestures().select(chosen));
}

// doubleclick NAME
void doubleClick(ScriptPlayer& player, ScriptLine& line) {
  RepId element = named(player, line, "an element");
  line.finish();
  player.play(player.gestures().doubleClick(element));
}

// rightclick [NAME]: on the element, or on the empty canvas (which keeps the
// selection)
void rightClick(ScriptPlayer& player, ScriptLine& line) {
  RepId element = line.atEnd() ? 0 : named(player, line, "an element");
  line.finish();
  player.play(player.gestures().rightClick(element));
}

// tool "caption"
void selectTool(ScriptPlayer& player, ScriptLine& line) {
  RepId tool = player.gestures().tool(line.string("a tool's caption"));
  line.finish();
  player.play(player.gestures().selectTool(tool));
}

// key "text"
void key(ScriptPlayer& player, ScriptLine& line) {
  std::string text = line.string("a key");
  line.finish();
  player.play(player.gestures().pressKey(text));
}

// paste [as NAME...]: the names go to the pasted elements in their order.
void paste(ScriptPlayer& player, ScriptLine& line) {
  std::vector<std::string> names = namesAtEnd(line);
  nameAll(player, names, player.play(player.gestures().pressKey("Ctrl V")));
}

RepId openConsole(ScriptPlayer& player) {
  RepId form = player.gestures().head().dialogs().activeForm();
  return model::attribute(form, "id") == "Console" ? form : 0;
}

// console "expression": the console key unless the console is open, then the
// expression typed into its input and "Evaluate" pressed. It stays open.
void console(ScriptPlayer& player, ScriptLine& line) {
  std::string expression = line.string("an expression");
  line.finish();
  if (!openConsole(player)) {
    player.play(player.gestures().pressKey(kConsoleKey));
    if (!openConsole(player)) throw ScriptError("the console key opened no console");
  }
  typeIntoField(player, "input", expression);
  pressButton(player, "Evaluate");
}

// open "caption" | open NAME: the user opens a diagram (from the project tree).
void openDiagram(ScriptPlayer& player, ScriptLine& line) {
  RepId diagram = line.nextIsString()
                      ? player.gestures().diagramWithCaption(line.string("a diagram's caption"))
                      : named(player, line, "a diagram");
  line.finish();
  player.play(player.gestures().openDiagram(diagram));
}

// convert to shared: the user asks to convert the project to shared areas.
void convertToShared(ScriptPlayer& player, ScriptLine& line) {
  line.keyword("to");
  line.keyword("shared");
  line.finish();
  player.play(player.gestures().convertToMultiUser());
}

// text NAME "TYPE-ID" "value": the user edits a compartment's text in place.
void editText(ScriptPlayer& player, ScriptLine& line) {
  RepId element = named(player, line, "an element");
  std::string typeId = line.string("a compartment type's id");
  std::string text = line.string("the text");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.editText(gestures.compartment(element, typeId), text));
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
  add("convert", convertToShared);
  add("text", editText);
  for (auto [keyword, keyText] :
       {std::pair{"copy", "Ctrl C"}, {"cut", "Ctrl X"}, {"delete", "Delete"}}) {
    std::string text = keyText;
    player.addGesture(keyword, [&player, text](ScriptLine& line) {
      line.finish();
      player.play(player.gestures().pressKey(text));
    });
  }
  player.addGesture("undo", [&player](ScriptLine& line) {
    line.finish();
    player.play(player.gestures().undo());
  });
  player.addGesture("redo", [&player](ScriptLine& line) {
    line.finish();
    player.play(player.gestures().redo());
  });
}

}  // namespace grhost

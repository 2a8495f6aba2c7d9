// The expect forms of scripts. Messages and information-bar texts are looked
// for in the current window: from the start of the latest gesture on. Forms
// and fields are those of the form the gestures act on.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "host/base/MessageLog.h"
#include "host/base/Model.h"
#include "host/gestures/GestureChoices.h"
#include "host/gestures/Gestures.h"
#include "host/head/HeadEngine.h"
#include "host/script/ScriptPlayer.h"

namespace grhost {
namespace {

std::string shown(const std::string& text) {
  return nlohmann::json(text).dump();
}

std::string listed(const std::vector<std::string>& texts) {
  if (texts.empty()) return "none";
  std::string list;
  for (const std::string& text : texts) list += (list.empty() ? "" : ", ") + shown(text);
  return list;
}

void expectText(ScriptPlayer& player, ScriptLine& line, bool modal) {
  std::string wanted = line.string("the text");
  line.finish();
  std::vector<std::string> texts = player.windowTexts(modal ? "" : "info");
  if (std::find(texts.begin(), texts.end(), wanted) == texts.end())
    throw ScriptError(std::string(modal ? "no message " : "no information-bar text ") +
                      shown(wanted) + " since the last gesture; shown: " + listed(texts));
}

// expect no message | expect no form
void expectNothing(ScriptPlayer& player, ScriptLine& line) {
  if (line.accept("form")) {
    line.finish();
    if (RepId form = player.head().dialogs().activeForm())
      throw ScriptError("the form " + shown(model::attribute(form, "caption")) + " is open");
    return;
  }
  line.keyword("message");
  line.finish();
  std::vector<std::string> texts = player.windowTexts("");
  if (!texts.empty()) throw ScriptError("messages since the last gesture: " + listed(texts));
}

// expect count CLASS N
void expectCount(ScriptPlayer&, ScriptLine& line) {
  std::string className = line.word("a class");
  long wanted = line.number("a count");
  line.finish();
  if (!model::classId(className)) throw ScriptError("there is no class " + className);
  std::size_t count = model::objectsOf(className).size();
  if (count != static_cast<std::size_t>(wanted))
    throw ScriptError("expected " + std::to_string(wanted) + " " + className + ", found " +
                      std::to_string(count));
}

// expect current diagram "caption" | expect current diagram NAME
void expectCurrentDiagram(ScriptPlayer& player, ScriptLine& line) {
  line.keyword("diagram");
  bool byCaption = line.nextIsString();
  std::string wanted = byCaption ? line.string("the caption") : line.word("the caption or a name");
  line.finish();
  RepId diagram = player.head().diagrams().currentDiagram();
  if (!diagram) throw ScriptError("there is no current diagram");
  if (!byCaption) {
    if (diagram != player.named(wanted))
      throw ScriptError("the current diagram is " + player.describe(diagram) + ", not " + wanted);
    return;
  }
  std::string caption = model::attribute(diagram, "caption");
  if (caption != wanted)
    throw ScriptError("the current diagram is " + shown(caption) + ", not " + shown(wanted));
}

// expect menu "a" "b" ...
void expectMenu(ScriptPlayer& player, ScriptLine& line) {
  std::vector<std::string> wanted;
  while (!line.atEnd()) wanted.push_back(line.string("a menu item"));
  std::vector<std::string> captions;
  for (const MenuItem& item : player.head().diagrams().lastMenu()) captions.push_back(item.caption);
  if (captions != wanted)
    throw ScriptError("the last menu shown has " + listed(captions) + ", not " + listed(wanted));
}

// expect palette "a" "b" ... | expect toolbar "a" "b" ...: what the current
// diagram offers, in the order the engine shows it.
void expectOffered(ScriptPlayer& player, ScriptLine& line, bool palette) {
  std::vector<std::string> wanted;
  while (!line.atEnd()) wanted.push_back(line.string("a caption"));
  RepId diagram = player.head().diagrams().currentDiagram();
  if (!diagram) throw ScriptError("there is no current diagram");
  std::vector<std::string> captions;
  if (palette)
    for (const PaletteChoice& entry : paletteOf(diagram)) captions.push_back(entry.caption);
  else
    for (const ToolChoice& tool : toolsOf(diagram)) captions.push_back(tool.caption);
  if (captions != wanted)
    throw ScriptError(std::string("the ") + (palette ? "palette" : "tool bar") + " shows " +
                      listed(captions) + ", not " + listed(wanted));
}

// expect selection NAME... | expect selection none
void expectSelection(ScriptPlayer& player, ScriptLine& line) {
  std::vector<std::string> wanted;
  if (!line.accept("none")) {
    do wanted.push_back(player.describe(player.named(line.word("an element's name"))));
    while (!line.atEnd());
  }
  line.finish();
  RepId diagram = player.head().diagrams().currentDiagram();
  if (!diagram) throw ScriptError("there is no current diagram");
  std::vector<std::string> selected;
  for (RepId element : model::partners(model::firstPartner(diagram, "collection"), "element"))
    selected.push_back(player.describe(element));
  auto names = [](const std::vector<std::string>& list) {
    std::string text;
    for (const std::string& name : list) text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? std::string("none") : text;
  };
  if (selected != wanted)
    throw ScriptError("the selection is " + names(selected) + ", not " + names(wanted));
}

RepId openForm(ScriptPlayer& player) {
  RepId form = player.head().dialogs().activeForm();
  if (!form) throw ScriptError("no form is open");
  return form;
}

// expect form "caption": the form the gestures act on
void expectForm(ScriptPlayer& player, ScriptLine& line) {
  std::string wanted = line.string("the form's caption");
  line.finish();
  std::string caption = model::attribute(openForm(player), "caption");
  if (caption != wanted)
    throw ScriptError("the open form is " + shown(caption) + ", not " + shown(wanted));
}

// What a field shows: its lines, else its text, else its check mark, else
// its caption.
std::string fieldValue(RepId field) {
  if (model::isKindOf(field, "D#MultiLineTextBox")) {
    std::string text;
    std::vector<RepId> lines = model::partners(field, "textLine");
    for (std::size_t i = 0; i < lines.size(); ++i)
      text += (i ? "\n" : "") + model::attribute(lines[i], "text");
    return text;
  }
  for (const char* attribute : {"text", "checked", "caption"})
    if (model::hasAttribute(field, attribute)) return model::attribute(field, attribute);
  return "";
}

RepId fieldOnForm(ScriptPlayer& player, const std::string& id) {
  openForm(player);
  try {
    return player.gestures().field(id);
  } catch (const GestureError& error) {
    throw ScriptError(error.what());
  }
}

std::vector<std::string> strings(ScriptLine& line, const std::string& what) {
  std::vector<std::string> texts;
  while (!line.atEnd()) texts.push_back(line.string(what));
  return texts;
}

// expect field "id" = "text"
void expectField(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a field's id");
  line.equals();
  std::string wanted = line.string("the text");
  line.finish();
  std::string value = fieldValue(fieldOnForm(player, id));
  if (value != wanted)
    throw ScriptError("the field " + shown(id) + " is " + shown(value) + ", not " + shown(wanted));
}

void collectNodes(RepId node, const std::string& above, std::vector<std::string>& paths) {
  std::string path = (above.empty() ? "" : above + "/") + model::attribute(node, "text");
  paths.push_back(path);
  for (RepId child : model::partners(node, "childNode")) collectNodes(child, path, paths);
}

// expect nodes "Root" "Root/A" ...: every node of the form's first tree,
// depth first, as its path
void expectNodes(ScriptPlayer& player, ScriptLine& line) {
  std::vector<std::string> wanted = strings(line, "a node's path");
  RepId form = openForm(player);
  RepId tree = DialogEngine::findComponent(form, "D#Tree", "", "");
  if (!tree)
    throw ScriptError("the form " + shown(model::attribute(form, "caption")) + " has no tree");
  std::vector<std::string> paths;
  for (RepId node : model::partners(tree, "treeNode")) collectNodes(node, "", paths);
  if (paths != wanted)
    throw ScriptError("the tree shows " + listed(paths) + ", not " + listed(wanted));
}

// expect items "field" "a" "b" ...: the items of a combo box or list box
void expectItems(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a field's id");
  std::vector<std::string> wanted = strings(line, "an item");
  std::vector<std::string> items;
  for (RepId item : model::partners(fieldOnForm(player, id), "item"))
    items.push_back(model::attribute(item, "value"));
  if (items != wanted)
    throw ScriptError("the field " + shown(id) + " lists " + listed(items) + ", not " +
                      listed(wanted));
}

// expect cells "table" ROW "a" "b" ...: the cells of a table's row (from 1)
void expectCells(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a table's id");
  long row = line.number("a row number");
  std::vector<std::string> wanted = strings(line, "a cell's text");
  openForm(player);
  RepId table = 0;
  try {
    table = player.gestures().table(id);
  } catch (const GestureError& error) {
    throw ScriptError(error.what());
  }
  std::vector<RepId> rows = Gestures::tableRows(table);
  if (row < 1 || static_cast<std::size_t>(row) > rows.size())
    throw ScriptError("the table " + shown(id) + " has no row " + std::to_string(row));
  std::vector<std::string> cells;
  for (RepId cell : model::partners(rows[static_cast<std::size_t>(row) - 1], "vTableCell"))
    cells.push_back(model::attribute(cell, "value"));
  if (cells != wanted)
    throw ScriptError("row " + std::to_string(row) + " of " + shown(id) + " is " + listed(cells) +
                      ", not " + listed(wanted));
}

// expect NAME.attr = "value"
void expectAttribute(RepId object, const std::string& reference, const std::string& attribute,
                     ScriptLine& line) {
  line.equals();
  std::string wanted = line.string("the value");
  line.finish();
  if (!model::hasAttribute(object, attribute))
    throw ScriptError(model::className(object) + " has no attribute " + attribute);
  std::string value = model::attribute(object, attribute);
  if (value != wanted)
    throw ScriptError(reference + " is " + shown(value) + ", not " + shown(wanted));
}

// expect NAME.role -> NAME | expect NAME.role -> none: the first partner
void expectPartner(ScriptPlayer& player, RepId object, const std::string& reference,
                   const std::string& role, ScriptLine& line) {
  bool none = line.accept("none");
  RepId wanted = none ? 0 : player.named(line.word("a name or 'none'"));
  line.finish();
  RepId partner = model::firstPartner(object, role);
  if (partner != wanted)
    throw ScriptError(reference + " leads to " + (partner ? player.describe(partner) : "nothing") +
                      ", not " + (none ? "nothing" : player.describe(wanted)));
}

// expect NAME.role count N
void expectPartnerCount(RepId object, const std::string& reference, const std::string& role,
                        ScriptLine& line) {
  long wanted = line.number("a count");
  line.finish();
  std::size_t count = model::partners(object, role).size();
  if (count != static_cast<std::size_t>(wanted))
    throw ScriptError(reference + " leads to " + std::to_string(count) + " objects, not " +
                      std::to_string(wanted));
}

void expectOverDot(ScriptPlayer& player, const std::string& reference, ScriptLine& line) {
  std::size_t dot = reference.find('.');
  RepId object = player.named(reference.substr(0, dot));
  std::string member = reference.substr(dot + 1);
  bool toPartner = line.accept("->");
  if (!toPartner && !line.accept("count")) {
    expectAttribute(object, reference, member, line);
    return;
  }
  if (!model::role(object, member))
    throw ScriptError(model::className(object) + " has no role " + member);
  if (toPartner)
    expectPartner(player, object, reference, member, line);
  else
    expectPartnerCount(object, reference, member, line);
}

// expect NAME compartment "TYPE-ID" value|input "text"
void expectCompartment(ScriptPlayer& player, const std::string& name, ScriptLine& line) {
  RepId element = player.named(name);
  std::string typeId = line.string("a compartment type's id");
  bool input = line.accept("input");
  if (!input) line.keyword("value");
  std::string wanted = line.string("the text");
  line.finish();
  RepId compartment = model::compartmentOfType(element, typeId);
  if (!compartment) throw ScriptError("'" + name + "' has no compartment of type " + shown(typeId));
  std::string text = model::attribute(compartment, input ? "input" : "value");
  if (text != wanted)
    throw ScriptError("the " + std::string(input ? "input" : "value") + " of '" + name +
                      "' compartment " + shown(typeId) + " is " + shown(text) + ", not " +
                      shown(wanted));
}

void expectOfObject(ScriptPlayer& player, const std::string& word, ScriptLine& line) {
  if (word.find('.') != std::string::npos) {
    expectOverDot(player, word, line);
    return;
  }
  if (!line.accept("compartment")) throw ScriptError("unknown expectation '" + word + "'");
  expectCompartment(player, word, line);
}

}  // namespace

void addExpectations(ScriptPlayer& player) {
  player.addExpectation("message", [&player](ScriptLine& line) { expectText(player, line, true); });
  player.addExpectation("info", [&player](ScriptLine& line) { expectText(player, line, false); });
  player.addExpectation("no", [&player](ScriptLine& line) { expectNothing(player, line); });
  player.addExpectation("selection",
                        [&player](ScriptLine& line) { expectSelection(player, line); });
  player.addExpectation("form", [&player](ScriptLine& line) { expectForm(player, line); });
  player.addExpectation("field", [&player](ScriptLine& line) { expectField(player, line); });
  player.addExpectation("nodes", [&player](ScriptLine& line) { expectNodes(player, line); });
  player.addExpectation("items", [&player](ScriptLine& line) { expectItems(player, line); });
  player.addExpectation("cells", [&player](ScriptLine& line) { expectCells(player, line); });
  player.addExpectation("count", [&player](ScriptLine& line) { expectCount(player, line); });
  player.addExpectation("current",
                        [&player](ScriptLine& line) { expectCurrentDiagram(player, line); });
  player.addExpectation("menu", [&player](ScriptLine& line) { expectMenu(player, line); });
  player.addExpectation("palette",
                        [&player](ScriptLine& line) { expectOffered(player, line, true); });
  player.addExpectation("toolbar",
                        [&player](ScriptLine& line) { expectOffered(player, line, false); });
  player.setObjectExpectation(
      [&player](const std::string& word, ScriptLine& line) { expectOfObject(player, word, line); });
}

}  // namespace grhost

// The form gestures of scripts: a field by its id, a button by its caption,
// on the active form.
#include "host/script/ScriptDialogs.h"

#include <optional>

#include "host/base/Model.h"
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

// focus "field"
void focusGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a field's id");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.focusField(gestures.field(id)));
}

// check "field" / uncheck "field"
void checkGesture(ScriptPlayer& player, ScriptLine& line, bool checked) {
  std::string id = line.string("a check box's id");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.setChecked(gestures.field(id), checked));
}

// pick "field" "item": the list is dropped down (its items may be filled
// then), and the item picked.
void pickGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a combo box's or list box's id");
  std::string value = line.string("an item");
  line.finish();
  Gestures& gestures = player.gestures();
  RepId box = gestures.field(id);
  player.play(gestures.dropDown(box));
  player.play(gestures.chooseItem(box, gestures.item(box, value)));
}

// tab "caption"
void tabGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string caption = line.string("a tab's caption");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.selectTab(gestures.tab(caption)));
}

// node "path": selects the tree node
void nodeGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string path = line.string("a node's path");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.selectNode(gestures.treeNode(path)));
}

// expand "path" / collapse "path"
void expandGesture(ScriptPlayer& player, ScriptLine& line, bool expanded) {
  std::string path = line.string("a node's path");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.expandNode(gestures.treeNode(path), expanded));
}

// drag "path" to "path" [at N]: N counts the new parent's children from 1
void dragGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string path = line.string("a node's path");
  line.keyword("to");
  std::string parent = line.string("the new parent's path");
  std::optional<std::size_t> position;
  if (line.accept("at")) {
    long at = line.number("a position");
    if (at < 1) throw ScriptError("positions count from 1");
    position = static_cast<std::size_t>(at - 1);
  }
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.moveNode(gestures.treeNode(path), gestures.treeNode(parent), position));
}

std::size_t rowNumber(ScriptLine& line) {
  long row = line.number("a row number");
  if (row < 1) throw ScriptError("rows count from 1");
  return static_cast<std::size_t>(row - 1);
}

std::size_t columnOf(RepId table, const std::string& caption) {
  std::vector<RepId> columns = Gestures::tableColumns(table);
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (model::attribute(columns[i], "caption") == caption) return i;
  throw ScriptError("the table has no column \"" + caption + "\"");
}

// table "id" add | table "id" cell ROW "column" "text" | table "id" delete ROW
void tableGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("a table's id");
  Gestures& gestures = player.gestures();
  RepId table = gestures.table(id);
  if (line.accept("add")) {
    line.finish();
    player.play(gestures.addTableRow(table));
  } else if (line.accept("cell")) {
    std::size_t row = rowNumber(line);
    std::size_t column = columnOf(table, line.string("a column's caption"));
    std::string text = line.string("the text");
    line.finish();
    player.play(gestures.editTableCell(table, row, column, text));
  } else {
    line.keyword("delete");
    std::size_t row = rowNumber(line);
    line.finish();
    player.play(gestures.deleteTableRow(table, row));
  }
}

// picture "image" "file": the user picks a picture file for an image field.
void pictureGesture(ScriptPlayer& player, ScriptLine& line) {
  std::string id = line.string("an image's id");
  std::string file = line.string("the file name");
  line.finish();
  Gestures& gestures = player.gestures();
  player.play(gestures.choosePicture(gestures.field(id), file));
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
  player.addGesture("focus", [&player](ScriptLine& line) { focusGesture(player, line); });
  player.addGesture("check", [&player](ScriptLine& line) { checkGesture(player, line, true); });
  player.addGesture("uncheck", [&player](ScriptLine& line) { checkGesture(player, line, false); });
  player.addGesture("pick", [&player](ScriptLine& line) { pickGesture(player, line); });
  player.addGesture("tab", [&player](ScriptLine& line) { tabGesture(player, line); });
  player.addGesture("node", [&player](ScriptLine& line) { nodeGesture(player, line); });
  player.addGesture("expand", [&player](ScriptLine& line) { expandGesture(player, line, true); });
  player.addGesture("collapse",
                    [&player](ScriptLine& line) { expandGesture(player, line, false); });
  player.addGesture("drag", [&player](ScriptLine& line) { dragGesture(player, line); });
  player.addGesture("table", [&player](ScriptLine& line) { tableGesture(player, line); });
  player.addGesture("picture", [&player](ScriptLine& line) { pictureGesture(player, line); });
}

}  // namespace grhost

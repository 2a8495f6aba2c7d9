// The gestures on the components of open forms beyond typing and pressing:
// focus, check boxes, combo and list boxes, tabs, trees and tables. Each
// sets what the user sees change (a check mark, the selected item or node,
// the active tab, a cell) and raises the dialog event the engine raises for
// it, when the component has a handler for it: "Change", "DropDown",
// "TabChange", "TreeNodeSelect", "TreeNodeMove", "DeleteButtonClick".
#include <algorithm>

#include "host/base/Model.h"
#include "host/gestures/GestureRun.h"

namespace grhost {
namespace {

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string nameOf(RepId component) {
  std::string id = model::attribute(component, "id");
  return quoted(id.empty() ? model::attribute(component, "caption") : id);
}

RepId treeOf(RepId node) {
  RepId at = node;
  for (int depth = 0; at && depth < 64; ++depth) {
    if (RepId tree = model::firstPartner(at, "tree")) return tree;
    at = model::firstPartner(at, "parentNode");
  }
  return 0;
}

bool isInside(RepId node, RepId ancestor) {
  for (RepId at = node; at; at = model::firstPartner(at, "parentNode"))
    if (at == ancestor) return true;
  return false;
}

// Links CHILD under PARENT over ROLE as its partner number POSITION.
void linkAt(RepId parent, const std::string& role, RepId child, std::size_t position) {
  std::vector<RepId> after = model::partners(parent, role);
  if (position > after.size()) position = after.size();
  after.erase(after.begin(), after.begin() + static_cast<std::ptrdiff_t>(position));
  for (RepId later : after) model::unlink(parent, role, later);
  model::link(parent, role, child);
  for (RepId later : after) model::link(parent, role, later);
}

}  // namespace

RepId Gestures::checkUsable(RepId component, const std::string& what) const {
  RepId form = activeForm();
  if (!ObjectExists(component) || DialogEngine::formOf(component) != form)
    throw GestureError("the form " + quoted(model::attribute(form, "caption")) + " has no " + what +
                       " " + std::to_string(component));
  if (model::attribute(component, "enabled") == "false")
    throw GestureError("the " + what + " " + nameOf(component) + " is disabled");
  return form;
}

GestureOutcome Gestures::focusField(RepId target) {
  checkUsable(target, "field");
  Run run(*this, "focus");
  moveFocusTo(target);
  return run.finish();
}

GestureOutcome Gestures::setChecked(RepId box, bool checked) {
  checkUsable(box, "check box");
  if (!model::isKindOf(box, "D#CheckBox")) throw GestureError(describe(box) + " is no D#CheckBox");
  if (model::attribute(box, "editable") == "false")
    throw GestureError("the check box " + nameOf(box) + " is not editable");
  Run run(*this, checked ? "check" : "uncheck");
  moveFocusTo(box);
  model::setAttribute(box, "checked", checked ? "true" : "false");
  raiseIfHandled(box, "Change");
  return run.finish();
}

GestureOutcome Gestures::choosePicture(RepId image, const std::string& fileName) {
  checkUsable(image, "image");
  if (!model::isKindOf(image, "D#Image")) throw GestureError(describe(image) + " is no D#Image");
  if (model::attribute(image, "editable") == "false")
    throw GestureError("the image " + nameOf(image) + " is not editable");
  checkText(fileName, "the file name");
  Run run(*this, "picture");
  moveFocusTo(image);
  model::setAttribute(image, "fileName", fileName);
  raiseIfHandled(image, "Change");
  return run.finish();
}

GestureOutcome Gestures::dropDown(RepId box) {
  checkUsable(box, "combo box");
  if (!model::isKindOf(box, "D#ComboBox") && !model::isKindOf(box, "D#ListBox"))
    throw GestureError(describe(box) + " is no D#ComboBox or D#ListBox");
  Run run(*this, "drop down");
  moveFocusTo(box);
  raiseIfHandled(box, "DropDown");
  return run.finish();
}

GestureOutcome Gestures::chooseItem(RepId box, RepId chosen) {
  checkUsable(box, "list");
  if (model::firstPartner(chosen, "comboBox") != box &&
      model::firstPartner(chosen, "listBox") != box)
    throw GestureError("the item " + std::to_string(chosen) + " is not in " + nameOf(box));
  Run run(*this, "choose");
  moveFocusTo(box);
  if (model::isKindOf(box, "D#ComboBox")) {
    model::unlinkAll(box, "selected");
    model::link(box, "selected", chosen);
    model::setAttribute(box, "text", model::attribute(chosen, "value"));
    raiseIfHandled(box, "Change");
    return run.finish();
  }
  std::vector<RepId> selected = model::partners(box, "selected");
  bool wasSelected = std::find(selected.begin(), selected.end(), chosen) != selected.end();
  std::vector<RepId> deselected;
  if (model::attribute(box, "multiSelect") == "true") {
    if (wasSelected) deselected.push_back(chosen);
  } else {
    deselected = selected;
    deselected.erase(std::remove(deselected.begin(), deselected.end(), chosen), deselected.end());
  }
  for (RepId item : deselected) model::unlink(box, "selected", item);
  if (!wasSelected) model::link(box, "selected", chosen);
  std::string handler = DialogEngine::handlerFor(box, "Change");
  if (!handler.empty()) {
    EventSpec event{"D#ListBoxChangeEvent", true, "Change", {{"source", box}}};
    if (RepId form = DialogEngine::formOf(box)) event.links.emplace_back("form", form);
    if (!wasSelected) event.links.emplace_back("selected", chosen);
    for (RepId item : deselected) event.links.emplace_back("deselected", item);
    head_.raiseEvent(event, handler);
  }
  return run.finish();
}

GestureOutcome Gestures::selectTab(RepId shown) {
  checkUsable(shown, "tab");
  RepId container = model::firstPartner(shown, "container");
  if (!model::isKindOf(shown, "D#Tab") || !model::isKindOf(container, "D#TabContainer"))
    throw GestureError(describe(shown) + " is no tab of a tab container");
  Run run(*this, "select tab");
  moveFocusTo(container);
  if (model::firstPartner(container, "activeTab") != shown) {
    model::unlinkAll(container, "activeTab");
    model::link(container, "activeTab", shown);
    std::string handler = DialogEngine::handlerFor(container, "TabChange");
    if (!handler.empty()) {
      EventSpec event{"D#TabChangeEvent", true, "TabChange", {{"source", container}}};
      event.links.emplace_back("tab", shown);
      if (RepId form = DialogEngine::formOf(container)) event.links.emplace_back("form", form);
      head_.raiseEvent(event, handler);
    }
  }
  return run.finish();
}

GestureOutcome Gestures::selectNode(RepId node) {
  RepId tree = treeOf(node);
  checkUsable(tree, "tree");
  Run run(*this, "select node");
  RepId previous = model::firstPartner(tree, "selected");
  if (previous != node) {
    moveFocusTo(tree);
    model::unlinkAll(tree, "selected");
    model::link(tree, "selected", node);
    std::string handler = DialogEngine::handlerFor(tree, "TreeNodeSelect");
    if (!handler.empty()) {
      EventSpec event{"D#TreeNodeSelectEvent", true, "TreeNodeSelect", {{"source", tree}}};
      event.links.emplace_back("treeNode", node);
      if (previous && ObjectExists(previous)) event.links.emplace_back("previous", previous);
      if (RepId form = DialogEngine::formOf(tree)) event.links.emplace_back("form", form);
      head_.raiseEvent(event, handler);
    }
  }
  return run.finish();
}

GestureOutcome Gestures::expandNode(RepId node, bool expanded) {
  checkUsable(treeOf(node), "tree");
  Run run(*this, expanded ? "expand" : "collapse");
  model::setAttribute(node, "expanded", expanded ? "true" : "false");
  return run.finish();
}

GestureOutcome Gestures::moveNode(RepId node, RepId newParent,
                                  std::optional<std::size_t> position) {
  RepId tree = treeOf(node);
  checkUsable(tree, "tree");
  if (model::attribute(tree, "draggableNodes") != "true")
    throw GestureError("the nodes of the tree " + nameOf(tree) + " can not be dragged");
  RepId oldParent = model::firstPartner(node, "parentNode");
  if (!oldParent) throw GestureError("a top node of the tree can not be dragged");
  if (treeOf(newParent) != tree)
    throw GestureError("the node " + std::to_string(newParent) + " is not in the same tree");
  if (isInside(newParent, node))
    throw GestureError("a node can not be dragged into itself or its children");
  Run run(*this, "drag node");
  moveFocusTo(tree);
  model::unlink(oldParent, "childNode", node);
  linkAt(newParent, "childNode", node,
         position.value_or(model::partners(newParent, "childNode").size()));
  std::string handler = DialogEngine::handlerFor(tree, "TreeNodeMove");
  if (!handler.empty()) {
    EventSpec event{"D#TreeNodeMoveEvent", true, "TreeNodeMove", {{"source", tree}}};
    event.links.emplace_back("treeNode", node);
    event.links.emplace_back("previousParent", oldParent);
    if (RepId form = DialogEngine::formOf(tree)) event.links.emplace_back("form", form);
    head_.raiseEvent(event, handler);
  }
  return run.finish();
}

namespace {

void checkTable(RepId table) {
  if (!model::isKindOf(table, "D#VTable"))
    throw GestureError(std::to_string(table) + " is no D#VTable");
  if (model::attribute(table, "editable") == "false")
    throw GestureError("the table " + quoted(model::attribute(table, "id")) + " is not editable");
}

RepId rowAt(RepId table, std::size_t row) {
  std::vector<RepId> rows = Gestures::tableRows(table);
  if (row >= rows.size())
    throw GestureError("the table " + quoted(model::attribute(table, "id")) + " has no row " +
                       std::to_string(row + 1));
  return rows[row];
}

}  // namespace

GestureOutcome Gestures::addTableRow(RepId table) {
  checkUsable(table, "table");
  checkTable(table);
  Run run(*this, "add row");
  moveFocusTo(table);
  RepId row = model::create("D#VTableRow");
  model::setAttribute(row, "inserted", "true");
  model::setAttribute(row, "edited", "true");
  model::setAttribute(row, "deleted", "false");
  model::link(table, "vTableRow", row);
  for (RepId column : tableColumns(table)) {
    RepId cell = model::create("D#VTableCell");
    model::setAttribute(cell, "value", model::attribute(column, "defaultValue"));
    model::link(row, "vTableCell", cell);
  }
  return run.finish();
}

GestureOutcome Gestures::editTableCell(RepId table, std::size_t row, std::size_t column,
                                       const std::string& text) {
  checkUsable(table, "table");
  checkTable(table);
  checkText(text, "the text");
  RepId line = rowAt(table, row);
  std::vector<RepId> columns = tableColumns(table);
  if (column >= columns.size() || model::attribute(columns[column], "editable") == "false")
    throw GestureError("the table " + quoted(model::attribute(table, "id")) +
                       " has no editable column " + std::to_string(column + 1));
  Run run(*this, "edit cell");
  moveFocusTo(table);
  std::vector<RepId> cells = model::partners(line, "vTableCell");
  while (cells.size() <= column) {
    RepId cell = model::create("D#VTableCell");
    model::link(line, "vTableCell", cell);
    cells.push_back(cell);
  }
  model::setAttribute(cells[column], "value", text);
  model::setAttribute(line, "edited", "true");
  raiseIfHandled(table, "Change");
  return run.finish();
}

GestureOutcome Gestures::deleteTableRow(RepId table, std::size_t row) {
  checkUsable(table, "table");
  checkTable(table);
  RepId line = rowAt(table, row);
  Run run(*this, "delete row");
  moveFocusTo(table);
  model::setAttribute(line, "deleted", "true");
  raiseIfHandled(table, "DeleteButtonClick");
  return run.finish();
}

}  // namespace grhost

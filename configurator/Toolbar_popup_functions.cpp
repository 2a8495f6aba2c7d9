#include "configurator/Toolbar_popup_functions.h"

#include <set>
#include <vector>

#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::stable;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::partnersOf;
using gr::cfg::setValues;
using gr::cfg::stablePartners;
using gr::cfg::valueOf;
using gr::dlg::onSaveAndDelete;
using gr::dlg::TableRow;

namespace {

const char* const kKeyTexts = "Ctrl X$Ctrl C$Ctrl V$Delete$Enter$Num Enter$Application$";
const char* const kElementTransformations =
    "cut$copy$delete$delete_definition$paste$properties_test$rename_all_occurrences$";
const char* const kDiagramTransformations =
    "cut$copy$paste$delete$delete_definition$properties_test$RClick$rename_all_occurrences$";

// A column of a table: a text column, or a combo box of ITEMS.
struct Column {
  const char* caption;
  const char* items = nullptr;
};

struct TableSpec {
  const char* id;
  const char* insertCaption;
  const char* deleteCaption;
  int width, height;
  std::vector<Column> columns;
};

L0_Var_2 addTable(L0_Var_2 container, const TableSpec& spec) {
  L0_Var_2 table = gr::dlg::newTable(container, spec.id, spec.insertCaption, spec.deleteCaption,
                                     spec.width, spec.height);
  L0_Var_2 type = gr::dlg::tableType(table);
  for (const Column& column : spec.columns) {
    if (column.items)
      L0_Func_add_ColumnType_ComboBox_with_items(type, column.caption, column.items);
    else
      L0_Func_add_ColumnType_TextBox(type, column.caption);
  }
  return table;
}

L0_Var_2 newDialogForm(const std::string& caption) {
  L0_Var_2 form = L0_Func_add_Form(caption);
  setValues(form, {{"id", caption}, {"horizontalAlignment", "2"}, {"verticalAlignment", "0"}});
  return form;
}

void addCloseButtonAndShow(L0_Var_2& form) {
  L0_Var_2 close = L0_Func_add_Button(form, "Close", "Close", "");
  L0_Func_add_d_eventHandler_main(close, "Click", "close_form");
  link(form, "defaultButton", close);
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}

std::string currentCaption() {
  return valueOf(L0_Func_get_current_diagram(), "caption");
}

// The tab that holds the component: its `id`; "" when none.
std::string tabIdOf(const L0_Var_2& component) {
  L0_Var_2 at = stable(component);
  for (int depth = 0; depth < 64 && !at.isNull(); ++depth) {
    if (isKind(at, "D#Tab")) return valueOf(at, "id");
    at = stable(firstOver(at, "container", "D#Container"));
  }
  return "";
}

// The event's table; null when the event came from something else.
L0_Var_2 eventTable() {
  L0_Var_2 source = stable(gr::dlg::eventSource());
  return isKind(source, "D#VTable") ? source : L0_Var_2("D#VTable");
}

// The number in a "Nr" cell: empty is 0, and so is a text that is no
// integer, which is said.
int nrOf(const TableRow& row, const std::string& column) {
  const std::string& text = row.at(column);
  bool ok = true;
  int nr = gr::dlg::cellNumber(text, ok);
  if (!ok) gr::showMessageBox(column + " \"" + text + "\" is not an integer: 0 is written.");
  return nr;
}

void deleteAll(const std::vector<L0_Var_2>& objects) {
  for (L0_Var_2 object : objects)
    if (!object.isNull()) object.deleteObj();
}

// ---- tool bars

L0_Var_2 toolbarOf(L0_Var_2& diagramType) {
  L0_Var_2 toolbar = stable(firstOver(diagramType, "toolbar", "Toolbar"));
  if (!toolbar.isNull()) return toolbar;
  toolbar = newObject("Toolbar");
  link(toolbar, "graphDiagramType", diagramType);
  return toolbar;
}

void fillToolbarTable(L0_Var_2& table, const L0_Var_2& toolbar) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& tool : partnersOf(toolbar, "tool", "Tool"))
    rows.push_back({valueOf(tool, "caption"), valueOf(tool, "procedure_name"),
                    valueOf(tool, "picture"), valueOf(tool, "nr")});
  gr::dlg::setRows(table, rows);
}

void saveToolbar(const char* failure) {
  L0_Var_2 table = eventTable();
  L0_Var_2 defined = stable(L0_Func_get_current_target_graphDiagramType());
  if (table.isNull() || defined.isNull()) {
    gr::showMessageBox(failure);
    L0_Func_delete_event();
    return;
  }
  L0_Var_2 toolbar = toolbarOf(defined);
  L0_Func_toolBarTable(table, toolbar);
  fillToolbarTable(table, toolbar);
  L0_Func_delete_event();
}

// ---- pop-ups

// The diagram type's pop-up over ROLE, made when missing.
L0_Var_2 diagramPopUp(L0_Var_2& diagramType, const std::string& role) {
  L0_Var_2 popUp = stable(firstOver(diagramType, role, "PopUpDiagram"));
  if (!popUp.isNull()) return popUp;
  popUp = newObject("PopUpDiagram");
  popUp.setAttr("id", "PopUpDiagram");
  link(diagramType, role, popUp);
  return popUp;
}

const char* popUpRoleOfTab(const std::string& tabId) {
  return tabId == "tab2" ? "RClickCollection" : "RClickEmpty";
}

void fillPopUpTable(L0_Var_2& table, const L0_Var_2& popUp) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& item : partnersOf(popUp, "popUpElement", "PopUpElement")) {
    std::string caption = valueOf(item, "caption");
    rows.push_back({caption.empty() ? valueOf(item, "id") : caption,
                    valueOf(item, "procedure_name"), valueOf(item, "nr")});
  }
  gr::dlg::setRows(table, rows);
}

void addPopUpTab(L0_Var_2& tabs, const char* caption, const char* id, L0_Var_2& diagramType) {
  L0_Var_2 tab = L0_Func_add_Tab(tabs, caption);
  tab.setAttr("id", id);
  L0_Var_2 table =
      addTable(tab, {"PopUp",
                     "AddElement",
                     "DeleteElement",
                     270,
                     180,
                     {{"Name"}, {"TransformationName", kDiagramTransformations}, {"Nr"}}});
  onSaveAndDelete(table, "update_popUpTable");
  fillPopUpTable(table, diagramPopUp(diagramType, popUpRoleOfTab(id)));
}

// ---- key shortcuts

const char* shortcutRoleOfTab(const std::string& tabId) {
  return tabId == "tab2" ? "cKeyboardShortcut" : "eKeyboardShortcut";
}

TableSpec shortcutTable(const char* id) {
  return {id,
          "AddShortcut",
          "DeleteShortcut",
          210,
          160,
          {{"KeyDown", kKeyTexts}, {"TransformationName", kElementTransformations}}};
}

void fillShortcutTable(L0_Var_2& table, const L0_Var_2& owner, const std::string& role) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& shortcut : partnersOf(owner, role, "KeyboardShortcut"))
    rows.push_back({valueOf(shortcut, "key"), valueOf(shortcut, "procedure_name")});
  gr::dlg::setRows(table, rows);
}

void addShortcutTab(L0_Var_2& tabs, const char* caption, const char* id, const L0_Var_2& owner) {
  L0_Var_2 tab = L0_Func_add_Tab(tabs, caption);
  tab.setAttr("id", id);
  L0_Func_add_label(tab, "Key Shortcuts");
  L0_Var_2 table = addTable(tab, shortcutTable("Shortcut"));
  onSaveAndDelete(table, "update_shortcut");
  fillShortcutTable(table, owner, shortcutRoleOfTab(id));
}

// The element type the element-type dialog's tree shows; null when its
// selected node is a compartment type.
L0_Var_2 selectedElemType() {
  L0_Var_2 type = stable(gr::dlg::selectedType());
  return isKind(type, "ElemType") ? type : L0_Var_2("ElemType");
}

L0_Var_2 elemTypePopUp(const L0_Var_2& type) {
  return stable(firstOver(type, "popUpDiagram", "PopUpDiagram"));
}

}  // namespace

L0_Var_2 L0_Func_get_current_target_graphDiagramType() {
  L0_Var_2 pointer = gr::firstOf("CurrentDgrPointer");
  L0_Var_2 diagram = firstOver(pointer, "graphDiagram", "GraphDiagram");
  L0_Var_2 defined = stable(firstOver(diagram, "target_type", "GraphDiagramType"));
  if (defined.isNull()) gr::showMessageBox("Error in get_current_target_graphDiagramType");
  return defined;
}
GR_ENTRY_SIGNATURE(L0_Func_get_current_target_graphDiagramType)

// ---- tool bar

void L0_Func_add_toolbar() {
  L0_Var_2 defined = stable(L0_Func_get_current_target_graphDiagramType());
  if (defined.isNull()) return;
  L0_Var_2 form = newDialogForm(currentCaption() + " Toolbar");
  L0_Var_2 table = addTable(form, {"Toolbar",
                                   "AddElement",
                                   "DeleteElement",
                                   270,
                                   180,
                                   {{"Name"}, {"Transformation"}, {"Icon Path"}, {"Nr"}}});
  L0_Func_add_d_eventHandler_main(table, "FocusLost", "update_toolbarTable");
  L0_Func_add_d_eventHandler_main(table, "DeleteButtonClick", "delete_toolbarTable");
  fillToolbarTable(table, toolbarOf(defined));
  addCloseButtonAndShow(form);
}
GR_ENTRY_SIGNATURE(L0_Func_add_toolbar)

void L0_Func_update_toolbarTable() {
  saveToolbar("Error in update_toolbarTable");
}
GR_ENTRY_SIGNATURE(L0_Func_update_toolbarTable)

// The engine marked the row deleted before it raised the event.
void L0_Func_delete_toolbarTable() {
  saveToolbar("Error in toolBarTable");
}
GR_ENTRY_SIGNATURE(L0_Func_delete_toolbarTable)

void L0_Func_toolBarTable(L0_Var_2 table, L0_Var_2 toolbar) {
  if (table.isNull() || toolbar.isNull()) {
    gr::showMessageBox("Error in toolBarTable");
    return;
  }
  deleteAll(stablePartners(toolbar, "tool", "Tool"));
  for (const TableRow& row : gr::dlg::liveRows(table)) {
    const std::string& name = row.at("Name");
    if (name.empty() && row.at("Transformation").empty()) continue;
    L0_Var_2 tool = newObject("Tool");
    setValues(tool, {{"id", name},
                     {"caption", name},
                     {"visibility", "true"},
                     {"procedure_name", row.at("Transformation")},
                     {"picture", row.at("Icon Path")}});
    tool.setAttr("nr", nrOf(row, "Nr"));
    link(tool, "toolbar", toolbar);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_toolBarTable)

// ---- pop-ups of the diagram type

void L0_Func_add_popUp() {
  L0_Var_2 defined = stable(L0_Func_get_current_target_graphDiagramType());
  if (defined.isNull()) return;
  L0_Var_2 form = newDialogForm(currentCaption() + " PopUp");
  L0_Var_2 tabs = L0_Func_add_TabContainer(form);
  tabs.setAttr("id", "tabContainer");
  addPopUpTab(tabs, "Diagram", "tab1", defined);
  addPopUpTab(tabs, "Collection", "tab2", defined);
  link(tabs, "activeTab", L0_Func_get_component_from_container_by_id(tabs, "tab1"));
  addCloseButtonAndShow(form);
}
GR_ENTRY_SIGNATURE(L0_Func_add_popUp)

void L0_Func_update_popUpTable() {
  L0_Var_2 table = eventTable();
  L0_Var_2 defined = stable(L0_Func_get_current_target_graphDiagramType());
  if (table.isNull() || defined.isNull()) {
    gr::showMessageBox("Error in popUpTable");
    L0_Func_delete_event();
    return;
  }
  L0_Var_2 popUp = diagramPopUp(defined, popUpRoleOfTab(tabIdOf(table)));
  fillPopUpTable(table, L0_Func_popUpTable(table, popUp));
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_update_popUpTable)

L0_Var_2 L0_Func_popUpTable(L0_Var_2 table, L0_Var_2 popUp) {
  if (table.isNull() || popUp.isNull()) {
    gr::showMessageBox("Error in popUpTable");
    return popUp;
  }
  popUp = stable(popUp);
  deleteAll(stablePartners(popUp, "popUpElement", "PopUpElement"));
  std::vector<std::string> captions = gr::dlg::columnCaptions(table);
  const std::string name = captions.empty() ? "Name" : captions.front();
  for (const TableRow& row : gr::dlg::liveRows(table)) {
    if (row.at(name).empty() && row.at("TransformationName").empty()) continue;
    L0_Var_2 item = newObject("PopUpElement");
    setValues(item, {{"id", row.at(name)},
                     {"caption", row.at(name)},
                     {"visibility", "true"},
                     {"procedure_name", row.at("TransformationName")}});
    item.setAttr("nr", nrOf(row, "Nr"));
    link(item, "popUpDiagram", popUp);
  }
  return L0_Func_make_popUp_order(popUp);
}
GR_ENTRY_SIGNATURE(L0_Func_popUpTable)

L0_Var_2 L0_Func_make_popUp_order(L0_Var_2 popUp) {
  popUp = stable(popUp);
  L0_Var_2 ordered = newObject("PopUpDiagram");
  if (popUp.isNull() || ordered.isNull()) {
    gr::showMessageBox("Error in make_popUp_order");
    return popUp;
  }
  ordered.setAttr("id", valueOf(popUp, "id"));
  std::vector<L0_Var_2> items = stablePartners(popUp, "popUpElement", "PopUpElement");
  for (int counter = 1; !items.empty(); ++counter) {
    auto smallest = items.begin();
    for (auto each = items.begin(); each != items.end(); ++each)
      if (each->getAttrInt("nr") < smallest->getAttrInt("nr")) smallest = each;
    L0_Var_2 item = *smallest;
    items.erase(smallest);
    item.setAttr("nr", counter);
    item.deleteLink(popUp, "popUpDiagram");
    link(item, "popUpDiagram", ordered);
  }
  // The ordered pop-up takes the old one's place, whoever owns it.
  for (const char* role : {"elemType", "cType", "eType"}) {
    L0_Var_2 owner = stable(firstOver(popUp, role, "Thing"));
    if (!owner.isNull()) link(ordered, role, owner);
  }
  popUp.deleteObj();
  return ordered;
}
GR_ENTRY_SIGNATURE(L0_Func_make_popUp_order)

// ---- key shortcuts of the diagram type

void L0_Func_add_keyshortcut() {
  L0_Var_2 defined = stable(L0_Func_get_current_target_graphDiagramType());
  if (defined.isNull()) return;
  L0_Var_2 form = newDialogForm(currentCaption() + " Key Shortcuts");
  L0_Var_2 tabs = L0_Func_add_TabContainer(form);
  addShortcutTab(tabs, "Diagram", "tab1", defined);
  addShortcutTab(tabs, "Collection", "tab2", defined);
  link(tabs, "activeTab", L0_Func_get_component_from_container_by_id(tabs, "tab1"));
  addCloseButtonAndShow(form);
}
GR_ENTRY_SIGNATURE(L0_Func_add_keyshortcut)

void L0_Func_update_shortcut() {
  L0_Var_2 table = eventTable();
  L0_Var_2 defined = stable(L0_Func_get_current_target_graphDiagramType());
  if (table.isNull() || defined.isNull()) {
    gr::showMessageBox("Error in update_shortcut");
    L0_Func_delete_event();
    return;
  }
  std::string role = shortcutRoleOfTab(tabIdOf(table));
  L0_Func_shortcutTable(table, defined, role);
  fillShortcutTable(table, defined, role);
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_update_shortcut)

void L0_Func_shortcutTable(L0_Var_2 table, L0_Var_2 owner, std::string role) {
  owner = stable(owner);
  deleteAll(stablePartners(owner, role, "KeyboardShortcut"));
  std::set<std::string> used;
  for (const TableRow& row : gr::dlg::liveRows(table)) {
    const std::string& key = row.at("KeyDown");
    const std::string& procedure = row.at("TransformationName");
    if (key.empty()) continue;
    if (!used.insert(key).second) {
      gr::showMessageBox("The key \"" + key + "\" already has a shortcut here; \"" + procedure +
                         "\" is not given it.");
      continue;
    }
    L0_Func_add_key_shortcut(owner, role, key, procedure);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_shortcutTable)

// ---- the element type's tables

void L0_Func_add_popUpTable(L0_Var_2 container) {
  L0_Var_2 type = selectedElemType();
  L0_Func_add_label(container, "PopUp");
  L0_Var_2 table = addTable(
      container, {"popUp",
                  "AddPopUpElement",
                  "DeletePopUpElement",
                  270,
                  100,
                  {{"ItemName"}, {"TransformationName", kElementTransformations}, {"Nr"}}});
  onSaveAndDelete(table, "update_popUpDiagram");
  fillPopUpTable(table, elemTypePopUp(type));
}
GR_ENTRY_SIGNATURE(L0_Func_add_popUpTable)

void L0_Func_update_popUpDiagram() {
  L0_Var_2 table = eventTable();
  L0_Var_2 type = selectedElemType();
  if (table.isNull() || type.isNull()) {
    gr::showMessageBox("Error in update_popUpDiagram");
    L0_Func_delete_event();
    return;
  }
  L0_Var_2 popUp = elemTypePopUp(type);
  if (popUp.isNull()) {
    popUp = newObject("PopUpDiagram");
    popUp.setAttr("id", "PopUpDiagram");
    link(popUp, "elemType", type);
  }
  fillPopUpTable(table, L0_Func_popUpTable(table, popUp));
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_update_popUpDiagram)

void L0_Func_add_shortcut(L0_Var_2 container) {
  L0_Var_2 type = selectedElemType();
  L0_Func_add_label(container, "Key Shortcuts");
  L0_Var_2 table = addTable(container, shortcutTable("Key Shortcuts"));
  onSaveAndDelete(table, "update_shortcut_element");
  fillShortcutTable(table, type, "keyboardShortcut");
}
GR_ENTRY_SIGNATURE(L0_Func_add_shortcut)

void L0_Func_update_shortcut_element() {
  L0_Var_2 table = eventTable();
  L0_Var_2 type = selectedElemType();
  if (table.isNull() || type.isNull()) {
    gr::showMessageBox("Error in update_shortcut_element");
    L0_Func_delete_event();
    return;
  }
  L0_Func_shortcutTable(table, type, "keyboardShortcut");
  fillShortcutTable(table, type, "keyboardShortcut");
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_update_shortcut_element)

#include "configurator/Dialog_utilities.h"

#include <charconv>
#include <set>

#include "configurator/Configurator_utilities.h"
#include "platform/repository.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOf;
using gr::firstOver;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::setValues;
using gr::cfg::valueOf;

namespace {

// Far deeper than any form; a cycle of parts is a broken model.
constexpr int kMaxDepth = 64;

L0_Var_2 addComponent(L0_Var_2 container, const std::string& className,
                      const gr::cfg::Values& values) {
  L0_Var_2 component = newObject(className);
  if (component.isNull()) return component;
  setValues(component, values);
  if (!container.isNull()) link(component, "container", container);
  return component;
}

// A label row with its caption; the field goes into the row after the label's box.
L0_Var_2 labelRowWithField(L0_Var_2 container, const std::string& caption, const std::string& id,
                           const std::string& text) {
  L0_Var_2 row = L0_Func_add_row_box_label(container, caption);
  return addComponent(row, "D#InputField", {{"id", id}, {"text", text}, {"editable", "true"}});
}

bool isNumber(const std::string& text, bool integer) {
  if (text.empty()) return false;
  std::size_t used = 0;
  try {
    if (integer)
      (void)std::stoll(text, &used);
    else
      (void)std::stod(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size();
}

void checkNumber(bool integer) {
  L0_Var_2 field = gr::dlg::eventSource();
  if (!field.isNull()) {
    bool valid = isNumber(valueOf(field, "text"), integer);
    field.setAttr("outlineColor", valid ? "536870911" : "255");
    field.setAttr("hint", valid     ? ""
                          : integer ? "Error: Value is not an integer!"
                                    : "Error: Value is not an double!");
    L0_Func_d_componentRefreshCmd(field);
  }
  L0_Func_delete_event();
}

L0_Var_2 findById(const L0_Var_2& container, const std::string& id, int depth) {
  L0_Var_2 none("D#Component");
  if (depth <= 0) return none;
  for (const L0_Var_2& component : gr::dlg::components(container)) {
    if (valueOf(component, "id") == id) return gr::stable(component);
    L0_Var_2 inner = findById(component, id, depth - 1);
    if (!inner.isNull()) return inner;
  }
  return none;
}

bool isWholeToPart(RepId linkType) {
  int kind = 0, role = 0;
  return GetLinkTypeAttributes2(linkType, &kind, &role) && role == REP_COMPOS_WHOLE;
}

// The object's parts over every composition of its class, depth first.
void collectParts(ObjID object, int depth, std::set<ObjID>& seen, std::vector<ObjID>& all) {
  if (depth > kMaxDepth || !seen.insert(object).second) return;
  RepIdList* roles = GetLinkTypeIdList(GetObjectTypeId(object));
  for (uint32_t i = 0; roles && i < RepIdListCount(roles); ++i) {
    RepId role = RepIdListItem(roles, i);
    if (!isWholeToPart(role)) continue;
    for (uint32_t p = 0, n = GetLinkedObjectNum(object, role); p < n; ++p)
      collectParts(GetLinkedObjectIdByIndex(object, role, p), depth + 1, seen, all);
  }
  if (roles) RepIdListFree(roles);
  // A column's editor is made for that column alone, though only linked to it.
  L0_Var_2 column = L0_Var_2::fromObjectId(object);
  if (isKind(column, "D#VTableColumnType"))
    for (const L0_Var_2& editor : gr::cfg::partnersOf(column, "defaultComponent", "D#Component"))
      collectParts(editor.getCurrObjID(), depth + 1, seen, all);
  all.push_back(object);
}

void deleteWithParts(const L0_Var_2& component) {
  std::set<ObjID> seen;
  std::vector<ObjID> doomed;
  collectParts(component.getCurrObjID(), 0, seen, doomed);
  for (ObjID object : doomed) L0_Var_2::fromObjectId(object).deleteObj();
}

}  // namespace

namespace gr::dlg {

L0_Var_2 currentEvent() {
  return firstOf("D#Event");
}

L0_Var_2 eventSource() {
  return firstOver(currentEvent(), "source", "D#Component");
}

L0_Var_2 selectedType() {
  L0_Var_2 node = firstOver(L0_Func_get_tree(), "selected", "D#TreeNode");
  return firstOver(node, "typeWithMapping", "Mapping#TypeWithMapping");
}

std::string textOf(const L0_Var_2& component) {
  if (isKind(component, "D#CheckBox")) return valueOf(component, "checked");
  return valueOf(component, "text");
}

std::vector<L0_Var_2> components(const L0_Var_2& container) {
  std::vector<L0_Var_2> result;
  if (container.isNull() || !isKind(container, "D#Container")) return result;
  for (const L0_Var_2& each : gr::cfg::partnersOf(container, "component", "D#Component"))
    result.push_back(gr::stable(each));
  return result;
}

L0_Var_2 formOf(const L0_Var_2& component) {
  L0_Var_2 at = gr::stable(component);
  for (int depth = 0; depth < kMaxDepth && !at.isNull(); ++depth) {
    if (isKind(at, "D#Form")) return at;
    at = gr::stable(firstOver(at, "container", "D#Container"));
  }
  return L0_Var_2("D#Form");
}

L0_Var_2 eventForm() {
  L0_Var_2 event = currentEvent();
  L0_Var_2 form = gr::stable(firstOver(event, "form", "D#Form"));
  return form.isNull() ? formOf(eventSource()) : form;
}

L0_Var_2 newTable(L0_Var_2 container, const std::string& id, const std::string& insertCaption,
                  const std::string& deleteCaption, int width, int height) {
  L0_Var_2 table = L0_Func_add_Table(container);
  setValues(table, {{"id", id},
                    {"minimumWidth", std::to_string(width)},
                    {"minimumHeight", std::to_string(height)}});
  if (insertCaption.empty() && deleteCaption.empty())
    L0_Func_add_TableType_without_buttons(table);
  else
    L0_Func_add_TableType(table, insertCaption, deleteCaption);
  return table;
}

L0_Var_2 tableType(const L0_Var_2& table) {
  return gr::stable(firstOver(table, "vTableType", "D#VTableType"));
}

std::vector<std::string> columnCaptions(const L0_Var_2& table) {
  std::vector<std::string> captions;
  for (const L0_Var_2& column :
       gr::cfg::partnersOf(tableType(table), "vTableColumnType", "D#VTableColumnType"))
    captions.push_back(valueOf(column, "caption"));
  return captions;
}

std::vector<TableRow> liveRows(const L0_Var_2& table) {
  std::vector<std::string> captions = columnCaptions(table);
  std::vector<TableRow> rows;
  for (const L0_Var_2& row : gr::cfg::partnersOf(table, "vTableRow", "D#VTableRow")) {
    if (gr::cfg::flagOf(row, "deleted")) continue;
    TableRow cells;
    std::size_t column = 0;
    for (const L0_Var_2& cell : gr::cfg::partnersOf(row, "vTableCell", "D#VTableCell"))
      if (column < captions.size()) cells[captions[column++]] = valueOf(cell, "value");
    for (; column < captions.size(); ++column) cells[captions[column]] = "";
    rows.push_back(std::move(cells));
  }
  return rows;
}

void setRows(L0_Var_2& table, const std::vector<std::vector<std::string>>& rows) {
  std::vector<L0_Var_2> old;
  for (const L0_Var_2& row : gr::cfg::partnersOf(table, "vTableRow", "D#VTableRow"))
    old.push_back(gr::stable(row));
  for (const L0_Var_2& row : old) deleteWithParts(row);
  std::size_t columns = columnCaptions(table).size();
  for (const std::vector<std::string>& cells : rows) {
    L0_Var_2 row = newObject("D#VTableRow");
    setValues(row, {{"edited", "true"}, {"inserted", "true"}, {"deleted", "false"}});
    link(table, "vTableRow", row);
    for (std::size_t column = 0; column < columns; ++column) {
      L0_Var_2 cell = newObject("D#VTableCell");
      cell.setAttr("value", column < cells.size() ? cells[column] : "");
      link(row, "vTableCell", cell);
    }
  }
  L0_Func_d_componentRefreshCmd(table);
}

int cellNumber(const std::string& text, bool& ok) {
  ok = true;
  if (text.empty()) return 0;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  ok = error == std::errc() && end == text.data() + text.size();
  return ok ? value : 0;
}

void refreshComponent(const L0_Var_2& component) {
  if (!component.isNull()) L0_Func_d_componentRefreshCmd(component);
}

void finishEvent() {
  L0_Func_delete_event();
}

void onSaveAndDelete(L0_Var_2& table, const std::string& transformation) {
  L0_Func_add_d_eventHandler_main(table, "FocusLost", transformation);
  L0_Func_add_d_eventHandler_main(table, "DeleteButtonClick", transformation);
}

}  // namespace gr::dlg

// ---- forms and boxes

L0_Var_2 L0_Func_add_Form(std::string caption) {
  return addComponent(L0_Var_2("D#Container"), "D#Form",
                      {{"id", "Form"},
                       {"caption", caption},
                       {"minimumWidth", "150"},
                       {"minimumHeight", "150"},
                       {"horizontalAlignment", "2"},
                       {"verticalAlignment", "0"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_Form)

L0_Var_2 L0_Func_add_HorizontalBox(L0_Var_2 container) {
  return addComponent(container, "D#HorizontalBox",
                      {{"id", "HorizontalBox"},
                       {"minimumWidth", "160"},
                       {"minimumHeight", "30"},
                       {"horizontalAlignment", "1"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_HorizontalBox)

L0_Var_2 L0_Func_add_VerticalBox(L0_Var_2 container) {
  return addComponent(container, "D#VerticalBox",
                      {{"id", "VerticalBox"},
                       {"minimumWidth", "160"},
                       {"minimumHeight", "30"},
                       {"horizontalAlignment", "1"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_VerticalBox)

L0_Var_2 L0_Func_add_horizontalRow(L0_Var_2 container, std::string id) {
  return addComponent(container, "D#Row", {{"id", id}, {"horizontalAlignment", "0"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_horizontalRow)

L0_Var_2 L0_Func_add_horizontalBox(L0_Var_2 container, std::string id) {
  return addComponent(container, "D#HorizontalBox", {{"id", id}, {"horizontalAlignment", "0"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_horizontalBox)

L0_Var_2 L0_Func_add_row_box_label(L0_Var_2 container, std::string caption) {
  L0_Var_2 row = L0_Func_add_horizontalRow(container, "HorizontalRow");
  L0_Var_2 box = addComponent(row, "D#HorizontalBox", {{"horizontalAlignment", "1"}});
  L0_Func_add_label(box, caption);
  return row;
}
GR_ENTRY_SIGNATURE(L0_Func_add_row_box_label)

L0_Var_2 L0_Func_add_label(L0_Var_2 container, std::string caption) {
  return addComponent(container, "D#Label", {{"caption", caption}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_label)

L0_Var_2 L0_Func_add_textField(L0_Var_2 container, std::string id, std::string text,
                               bool editable) {
  return addComponent(container, "D#InputField",
                      {{"id", id}, {"text", text}, {"editable", editable ? "true" : "false"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_textField)

// ---- label rows with a field

L0_Var_2 L0_Func_add_Row(L0_Var_2 container, std::string caption, std::string id,
                         std::string text) {
  return L0_Func_add_Row_event(container, caption, id, text, "FocusLost", "update_from_inputField");
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row)

L0_Var_2 L0_Func_add_Row_on_change(L0_Var_2 container, std::string caption, std::string id,
                                   std::string text, std::string transformation) {
  return L0_Func_add_Row_event(container, caption, id, text, "Change", transformation);
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row_on_change)

L0_Var_2 L0_Func_add_Row_event(L0_Var_2 container, std::string caption, std::string id,
                               std::string text, std::string eventName,
                               std::string transformation) {
  L0_Var_2 field = labelRowWithField(container, caption, id, text);
  L0_Func_add_d_eventHandler_main(field, eventName, transformation);
  return field;
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row_event)

L0_Var_2 L0_Func_add_Row_void_properties(L0_Var_2 container, std::string caption, std::string id,
                                         std::string text, std::string transformation) {
  return L0_Func_add_Row_event(container, caption, id, text, "FocusLost", transformation);
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row_void_properties)

L0_Var_2 L0_Func_add_Row_void_int_properties(L0_Var_2 container, std::string caption,
                                             std::string id, std::string text,
                                             std::string transformation) {
  L0_Var_2 field = L0_Func_add_Row_void_properties(container, caption, id, text, transformation);
  L0_Func_add_d_eventHandler_main(field, "Change", "check_int");
  return field;
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row_void_int_properties)

L0_Var_2 L0_Func_add_Row_void_double_properties(L0_Var_2 container, std::string caption,
                                                std::string id, std::string text,
                                                std::string transformation) {
  L0_Var_2 field = L0_Func_add_Row_void_properties(container, caption, id, text, transformation);
  L0_Func_add_d_eventHandler_main(field, "Change", "check_double");
  return field;
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row_void_double_properties)

L0_Var_2 L0_Func_add_Row_elemStyle_properties(L0_Var_2 container, std::string caption,
                                              std::string id, std::string text) {
  return L0_Func_add_Row_event(container, caption, id, text, "FocusLost", "update_elemStyle");
}
GR_ENTRY_SIGNATURE(L0_Func_add_Row_elemStyle_properties)

L0_Var_2 L0_Func_add_NameRow(L0_Var_2 container, std::string caption, std::string text) {
  L0_Var_2 field = labelRowWithField(container, caption, "caption", text);
  L0_Func_add_d_eventHandler_main(field, "Change", "update_treeNode");
  L0_Func_add_d_eventHandler_main(field, "FocusLost", "update_name_field");
  return field;
}
GR_ENTRY_SIGNATURE(L0_Func_add_NameRow)

L0_Var_2 L0_Func_add_NameRow_default(L0_Var_2 container, std::string text) {
  return L0_Func_add_NameRow(container, "Name", text);
}
GR_ENTRY_SIGNATURE(L0_Func_add_NameRow_default)

L0_Var_2 L0_Func_add_multiple_Row(L0_Var_2 container, std::string caption, std::string id,
                                  std::string text) {
  L0_Var_2 row = L0_Func_add_row_box_label(container, caption);
  L0_Var_2 area =
      addComponent(row, "D#TextArea",
                   {{"id", id}, {"text", text}, {"editable", "true"}, {"maximumHeight", "15"}});
  L0_Func_add_d_eventHandler_main(area, "FocusLost", "update_from_inputField");
  return area;
}
GR_ENTRY_SIGNATURE(L0_Func_add_multiple_Row)

L0_Var_2 L0_Func_add_ComboBoxRow(L0_Var_2 container, std::string caption, std::string id,
                                 std::string text, bool editable, std::string fillTransformation) {
  L0_Var_2 row = L0_Func_add_horizontalRow(container, "HorizontalRow");
  L0_Var_2 labelBox = L0_Func_add_horizontalBox(row, "HorizontalBox1");
  labelBox.setAttr("horizontalAlignment", "1");
  L0_Func_add_label(labelBox, caption);
  L0_Var_2 box = L0_Func_add_horizontalBox(row, "HorizontalBox");
  L0_Var_2 combo = addComponent(
      box, "D#ComboBox", {{"id", id}, {"text", text}, {"editable", editable ? "true" : "false"}});
  if (!fillTransformation.empty()) gr::runReference(fillTransformation, combo);
  return combo;
}
GR_ENTRY_SIGNATURE(L0_Func_add_ComboBoxRow)

L0_Var_2 L0_Func_add_CheckBox(L0_Var_2 container, std::string caption, std::string id, bool checked,
                              bool enabled) {
  return L0_Func_add_CheckBox_focusLost_row(container, caption, id, checked, enabled,
                                            "update_from_checkBox");
}
GR_ENTRY_SIGNATURE(L0_Func_add_CheckBox)

L0_Var_2 L0_Func_add_CheckBox_focusLost(L0_Var_2 container, std::string caption, std::string id,
                                        bool checked, std::string transformation) {
  return L0_Func_add_CheckBox_focusLost_row(container, caption, id, checked, true, transformation);
}
GR_ENTRY_SIGNATURE(L0_Func_add_CheckBox_focusLost)

L0_Var_2 L0_Func_add_CheckBox_focusLost_row(L0_Var_2 container, std::string caption, std::string id,
                                            bool checked, bool enabled,
                                            std::string transformation) {
  L0_Var_2 row = L0_Func_add_row_box_label(container, caption);
  L0_Var_2 box = L0_Func_add_horizontalBox(row, "HorizontalBox2");
  box.setAttr("horizontalAlignment", "2");
  L0_Var_2 checkBox = addComponent(box, "D#CheckBox",
                                   {{"id", id},
                                    {"checked", checked ? "true" : "false"},
                                    {"editable", "true"},
                                    {"enabled", enabled ? "true" : "false"}});
  L0_Func_add_d_eventHandler_main(checkBox, "Change", transformation);
  return checkBox;
}
GR_ENTRY_SIGNATURE(L0_Func_add_CheckBox_focusLost_row)

namespace {
L0_Var_2 column(L0_Var_2& row, const std::string& id) {
  L0_Var_2 found = findById(row, id, 1);
  return found.isNull() ? addComponent(row, "D#Column", {{"id", id}}) : found;
}
}  // namespace

L0_Var_2 L0_Func_add_CheckBox_to_column(L0_Var_2 row, std::string caption, std::string id,
                                        bool checked, std::string transformation) {
  L0_Func_add_label(column(row, "column1"), caption);
  L0_Var_2 checkBox =
      addComponent(column(row, "column2"), "D#CheckBox",
                   {{"id", id}, {"checked", checked ? "true" : "false"}, {"editable", "true"}});
  L0_Func_add_d_eventHandler_main(checkBox, "Change", transformation);
  return checkBox;
}
GR_ENTRY_SIGNATURE(L0_Func_add_CheckBox_to_column)

L0_Var_2 L0_Func_add_InputBox_to_column(L0_Var_2 row, std::string caption, std::string id,
                                        std::string text, std::string transformation) {
  L0_Func_add_label(column(row, "column1"), caption);
  L0_Var_2 field = L0_Func_add_textField(column(row, "column2"), id, text, true);
  L0_Func_add_d_eventHandler_main(field, "FocusLost", transformation);
  return field;
}
GR_ENTRY_SIGNATURE(L0_Func_add_InputBox_to_column)

// ---- tabs, trees, tables, buttons, lists, images

L0_Var_2 L0_Func_add_TabContainer(L0_Var_2 container) {
  return addComponent(container, "D#TabContainer", {{"id", "TabContainer"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_TabContainer)

L0_Var_2 L0_Func_add_Tab(L0_Var_2 tabContainer, std::string caption) {
  return addComponent(tabContainer, "D#Tab", {{"id", "Tab"}, {"caption", caption}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_Tab)

void L0_Func_add_Tab_Component(L0_Var_2 tab, L0_Var_2 component) {
  link(component, "container", tab);
}
GR_ENTRY_SIGNATURE(L0_Func_add_Tab_Component)

L0_Var_2 L0_Func_add_Tree(L0_Var_2 container) {
  return addComponent(container, "D#Tree", {{"id", "Tree"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_Tree)

L0_Var_2 L0_Func_add_TreeNode(L0_Var_2 parent, std::string text) {
  L0_Var_2 node = newObject("D#TreeNode");
  if (node.isNull()) return node;
  setValues(node, {{"id", "TreeNode"}, {"text", text}, {"expanded", "true"}});
  link(node, isKind(parent, "D#Tree") ? "tree" : "parentNode", parent);
  return node;
}
GR_ENTRY_SIGNATURE(L0_Func_add_TreeNode)

L0_Var_2 L0_Func_add_rootNode(L0_Var_2 tree) {
  return L0_Func_add_TreeNode(tree, "NewElement");
}
GR_ENTRY_SIGNATURE(L0_Func_add_rootNode)

L0_Var_2 L0_Func_add_Table(L0_Var_2 container) {
  return addComponent(container, "D#VTable", {{"id", "VTable"}, {"editable", "true"}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_Table)

L0_Var_2 L0_Func_add_TableType(L0_Var_2 table, std::string insertCaption,
                               std::string deleteCaption) {
  L0_Var_2 type = L0_Func_add_TableType_without_buttons(table);
  type.setAttr("insertButtonCaption", insertCaption);
  type.setAttr("deleteButtonCaption", deleteCaption);
  table.setAttr("insertButtonCaption", insertCaption);
  table.setAttr("deleteButtonCaption", deleteCaption);
  return type;
}
GR_ENTRY_SIGNATURE(L0_Func_add_TableType)

L0_Var_2 L0_Func_add_TableType_without_buttons(L0_Var_2 table) {
  L0_Var_2 type = newObject("D#VTableType");
  if (type.isNull()) return type;
  setValues(
      type,
      {{"id", "VTableType"}, {"editable", "true"}, {"minimumWidth", "300"}, {"rowHeight", "20"}});
  link(type, "vTable", table);
  return type;
}
GR_ENTRY_SIGNATURE(L0_Func_add_TableType_without_buttons)

namespace {
L0_Var_2 addColumnType(L0_Var_2& tableType, const std::string& caption,
                       const std::string& componentClass) {
  L0_Var_2 column = newObject("D#VTableColumnType");
  if (column.isNull()) return column;
  setValues(column, {{"caption", caption},
                     {"editable", "true"},
                     {"defaultValue", ""},
                     {"horizontalAlignment", "2"}});
  link(column, "vTableType", tableType);
  L0_Var_2 component = newObject(componentClass);
  component.setAttr("editable", "true");
  link(column, "defaultComponent", component);
  return column;
}
}  // namespace

L0_Var_2 L0_Func_add_ColumnType_TextBox(L0_Var_2 tableType, std::string caption) {
  return addColumnType(tableType, caption, "D#TextBox");
}
GR_ENTRY_SIGNATURE(L0_Func_add_ColumnType_TextBox)

L0_Var_2 L0_Func_add_ColumnType_ComboBox_with_items(L0_Var_2 tableType, std::string caption,
                                                    std::string items) {
  L0_Var_2 column = addColumnType(tableType, caption, "D#ComboBox");
  L0_Var_2 combo = firstOver(column, "defaultComponent", "D#ComboBox");
  std::size_t start = 0;
  for (std::size_t end = items.find('$'); end != std::string::npos;
       start = end + 1, end = items.find('$', start))
    L0_Func_add_item(combo, items.substr(start, end - start));
  return column;
}
GR_ENTRY_SIGNATURE(L0_Func_add_ColumnType_ComboBox_with_items)

L0_Var_2 L0_Func_add_ColumnType_CheckBox(L0_Var_2 tableType, std::string caption) {
  L0_Var_2 column = addColumnType(tableType, caption, "D#CheckBox");
  column.setAttr("defaultValue", "false");
  return column;
}
GR_ENTRY_SIGNATURE(L0_Func_add_ColumnType_CheckBox)

L0_Var_2 L0_Func_add_ColumnType_Button(L0_Var_2 tableType, std::string caption,
                                       std::string transformation) {
  L0_Var_2 column = addColumnType(tableType, caption, "D#Button");
  L0_Func_add_d_eventHandler_main(firstOver(column, "defaultComponent", "D#Button"), "Click",
                                  transformation);
  return column;
}
GR_ENTRY_SIGNATURE(L0_Func_add_ColumnType_Button)

L0_Var_2 L0_Func_add_Button(L0_Var_2 container, std::string id, std::string caption,
                            std::string transformation) {
  return addComponent(container, "D#Button",
                      {{"id", id}, {"caption", caption}, {"transf_name", transformation}});
}
GR_ENTRY_SIGNATURE(L0_Func_add_Button)

L0_Var_2 L0_Func_add_ListBox(L0_Var_2 container, std::string transformation) {
  L0_Var_2 list = addComponent(container, "D#ListBox",
                               {{"id", "listBox"},
                                {"minimumWidth", "400"},
                                {"minimumHeight", "250"},
                                {"multiSelect", "true"}});
  L0_Func_add_d_eventHandler_main(list, "Change", transformation);
  return list;
}
GR_ENTRY_SIGNATURE(L0_Func_add_ListBox)

L0_Var_2 L0_Func_add_image(L0_Var_2 container, std::string fileName, std::string transformation) {
  L0_Var_2 image = addComponent(container, "D#Image",
                                {{"id", "image"},
                                 {"fileName", fileName},
                                 {"editable", "true"},
                                 {"minimumWidth", "50"},
                                 {"minimumHeight", "50"},
                                 {"maximumWidth", "50"},
                                 {"maximumHeight", "50"}});
  L0_Func_add_d_eventHandler_main(image, "Change", transformation);
  return image;
}
GR_ENTRY_SIGNATURE(L0_Func_add_image)

L0_Var_2 L0_Func_add_item(L0_Var_2 box, std::string value) {
  L0_Var_2 item = newObject("D#Item");
  if (item.isNull()) return item;
  item.setAttr("value", value);
  link(item, isKind(box, "D#ListBox") ? "listBox" : "comboBox", box);
  return item;
}
GR_ENTRY_SIGNATURE(L0_Func_add_item)

// ---- finding components and registering handlers

L0_Var_2 L0_Func_add_d_eventHandler_main(L0_Var_2 component, std::string eventName,
                                         std::string transformationName) {
  L0_Var_2 handler("D#EventHandler");
  if (component.isNull() || transformationName.empty()) return handler;
  handler = newObject("D#EventHandler");
  if (handler.isNull()) return handler;
  setValues(handler, {{"eventName", eventName},
                      {"transformationName", transformationName},
                      {"procedureName", "main"}});
  link(handler, "eventSource", component);
  return handler;
}
GR_ENTRY_SIGNATURE(L0_Func_add_d_eventHandler_main)

L0_Var_2 L0_Func_get_component_from_container_by_id(L0_Var_2 container, std::string id) {
  return findById(container, id, kMaxDepth);
}
GR_ENTRY_SIGNATURE(L0_Func_get_component_from_container_by_id)

L0_Var_2 L0_Func_get_exact_component_from_container_by_id(L0_Var_2 container, std::string id,
                                                          int depth) {
  return findById(container, id, depth);
}
GR_ENTRY_SIGNATURE(L0_Func_get_exact_component_from_container_by_id)

L0_Var_2 L0_Func_get_tree() {
  L0_Var_2 form = gr::firstWith("D#Form", "id", "Configurator_form");
  if (form.isNull()) form = firstOf("D#Form");
  L0_Var_2 box = findById(form, "HorizontalBox", 1);
  L0_Var_2 vertical = findById(box, "VerticalBox", 1);
  L0_Var_2 tree = findById(vertical, "Tree", 1);
  if (tree.isNull()) gr::showMessageBox("Error in get_tree");
  return tree;
}
GR_ENTRY_SIGNATURE(L0_Func_get_tree)

L0_Var_2 L0_Func_get_tab(std::string id) {
  L0_Var_2 form = gr::firstWith("D#Form", "id", "Configurator_form");
  if (form.isNull()) form = firstOf("D#Form");
  L0_Var_2 tabs = findById(findById(form, "HorizontalBox", 1), "TabContainer", 1);
  L0_Var_2 tab = findById(tabs, id, 1);
  if (tab.isNull()) gr::showMessageBox("Error in get_tab");
  return tab;
}
GR_ENTRY_SIGNATURE(L0_Func_get_tab)

void L0_Func_make_compart_tree(L0_Var_2 parent, L0_Var_2 owner) {
  const char* role = isKind(owner, "CompartType") ? "subCompartType" : "compartType";
  for (const L0_Var_2& type : gr::cfg::partnersOf(owner, role, "CompartType")) {
    L0_Var_2 node = L0_Func_add_TreeNode(parent, valueOf(type, "caption"));
    link(node, "typeWithMapping", type);
    L0_Func_make_compart_tree(node, gr::stable(type));
  }
}
GR_ENTRY_SIGNATURE(L0_Func_make_compart_tree)

void L0_Func_delete_container_components(L0_Var_2 container) {
  for (const L0_Var_2& component : gr::dlg::components(container)) deleteWithParts(component);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_container_components)

// ---- handlers of the blocks

void L0_Func_update_from_inputField() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 type = gr::dlg::selectedType();
  if (!field.isNull() && !type.isNull()) type.setAttr(valueOf(field, "id"), valueOf(field, "text"));
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_update_from_inputField)

void L0_Func_update_from_checkBox() {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 type = gr::dlg::selectedType();
  if (!box.isNull() && !type.isNull()) type.setAttr(valueOf(box, "id"), valueOf(box, "checked"));
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_update_from_checkBox)

void L0_Func_check_int() {
  checkNumber(true);
}
GR_ENTRY_SIGNATURE(L0_Func_check_int)

void L0_Func_check_double() {
  checkNumber(false);
}
GR_ENTRY_SIGNATURE(L0_Func_check_double)

void L0_Func_close_form() {
  L0_Var_2 form = gr::dlg::eventForm();
  if (form.isNull())
    gr::showMessageBox("Error in close_form");
  else
    L0_Func_d_cmd(form, "Close");
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_close_form)

#include "configurator/Configurator_tabs.h"

#include <set>
#include <vector>

#include "configurator/Configurator_form.h"
#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "configurator/Generate_propert_diagram.h"
#include "configurator/Toolbar_popup_functions.h"
#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::stable;
using gr::cfg::flagOf;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::partnersOf;
using gr::cfg::setValues;
using gr::cfg::stablePartners;
using gr::cfg::valueOf;
using gr::dlg::finishEvent;
using gr::dlg::refreshComponent;
using gr::dlg::TableRow;

L0_TRANSFORMATION void L0_Func_row_type_changed();

namespace {

L0_Var_2 selectedType() {
  return stable(gr::dlg::selectedType());
}

L0_Var_2 selectedCompartType() {
  L0_Var_2 type = selectedType();
  return isKind(type, "CompartType") ? type : L0_Var_2("CompartType");
}

L0_Var_2 rowOf(const L0_Var_2& compartType) {
  return stable(firstOver(compartType, "propertyRow", "PropertyRow"));
}

// The element type a compartment type belongs to, through its parents.
L0_Var_2 ownerOf(L0_Var_2 type) {
  for (int depth = 0; depth < 64 && isKind(type, "CompartType"); ++depth) {
    L0_Var_2 owner = stable(firstOver(type, "elemType", "ElemType"));
    if (!owner.isNull()) return owner;
    type = stable(firstOver(type, "parentCompartType", "CompartType"));
  }
  return isKind(type, "ElemType") ? type : L0_Var_2("ElemType");
}

void collectCompartTypes(const L0_Var_2& owner, std::vector<L0_Var_2>& all) {
  const char* role = isKind(owner, "CompartType") ? "subCompartType" : "compartType";
  for (const L0_Var_2& type : partnersOf(owner, role, "CompartType")) {
    all.push_back(stable(type));
    collectCompartTypes(stable(type), all);
  }
}

// Every compartment type of the element type, depth first.
std::vector<L0_Var_2> compartTypesOf(const L0_Var_2& elemType) {
  std::vector<L0_Var_2> all;
  collectCompartTypes(elemType, all);
  return all;
}

// Items ended by "$", each once, in order.
std::string itemsOf(const std::vector<std::string>& values) {
  std::set<std::string> seen;
  std::string items;
  for (const std::string& value : values)
    if (!value.empty() && seen.insert(value).second) items += value + "$";
  return items;
}

// A style is named in a cell by its caption, or by its id.
bool names(const L0_Var_2& style, const std::string& cell) {
  return !cell.empty() && (valueOf(style, "caption") == cell || valueOf(style, "id") == cell);
}

L0_Var_2 elemStyleNamed(const L0_Var_2& elemType, const std::string& cell) {
  for (const L0_Var_2& style : partnersOf(elemType, "elemStyle", "ElemStyle"))
    if (names(style, cell)) return stable(style);
  return L0_Var_2("ElemStyle");
}

L0_Var_2 compartStyleNamed(const L0_Var_2& elemType, const std::string& cell) {
  for (const L0_Var_2& type : compartTypesOf(elemType))
    for (const L0_Var_2& style : partnersOf(type, "compartStyle", "CompartStyle"))
      if (names(style, cell)) return stable(style);
  return L0_Var_2("CompartStyle");
}

std::vector<std::string> captionsOf(const std::vector<L0_Var_2>& objects) {
  std::vector<std::string> captions;
  for (const L0_Var_2& object : objects) captions.push_back(valueOf(object, "caption"));
  return captions;
}

// ---- value items

const char* const kValueTableId = "cTable";

// One row per value item: its value, styles and notation.
std::vector<std::vector<std::string>> valueRows(const L0_Var_2& compartType) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& item : partnersOf(compartType, "choiceItem", "ChoiceItem")) {
    L0_Var_2 notation = firstOver(item, "notation", "Notation");
    rows.push_back({valueOf(item, "value"),
                    valueOf(firstOver(item, "elemStyleByChoiceItem", "ElemStyle"), "caption"),
                    valueOf(firstOver(item, "compartStyleByChoiceItem", "CompartStyle"), "caption"),
                    notation.isNull() ? "false" : "true", valueOf(notation, "value")});
  }
  return rows;
}

// The table of the value items of COMPARTTYPE, in the two-column row.
L0_Var_2 addValueTable(L0_Var_2& row, const std::string& caption, const L0_Var_2& compartType,
                       const std::string& saver) {
  L0_Var_2 elemType = ownerOf(compartType);
  bool checkBox = valueOf(rowOf(compartType), "rowType") == "CheckBoxRow";
  L0_Var_2 column1 = L0_Func_get_exact_component_from_container_by_id(row, "column1", 1);
  L0_Var_2 column2 = L0_Func_get_exact_component_from_container_by_id(row, "column2", 1);
  L0_Func_add_label(column1, caption).setAttr("id", kValueTableId);
  // A check box has exactly its two values: rows are neither added nor
  // removed, and the value itself is not typed.
  L0_Var_2 table = gr::dlg::newTable(column2, kValueTableId, checkBox ? "" : "AddChoiceItem",
                                     checkBox ? "" : "DeleteChoiceItem", 300, 440);
  setValues(table, {{"minimumWidth", checkBox ? "150" : "270"},
                    {"minimumHeight", checkBox ? "75" : "105"}});
  L0_Var_2 type = gr::dlg::tableType(table);
  L0_Var_2 value = L0_Func_add_ColumnType_TextBox(type, "ChoiceItem");
  if (checkBox) value.setAttr("editable", "false");
  std::vector<std::string> compartStyles;
  for (const L0_Var_2& each : compartTypesOf(elemType))
    for (const std::string& name : captionsOf(stablePartners(each, "compartStyle", "CompartStyle")))
      compartStyles.push_back(name);
  L0_Func_add_ColumnType_ComboBox_with_items(
      type, "ElemStyle", itemsOf(captionsOf(stablePartners(elemType, "elemStyle", "ElemStyle"))));
  L0_Func_add_ColumnType_ComboBox_with_items(type, "CompartStyle", itemsOf(compartStyles));
  L0_Func_add_ColumnType_CheckBox(type, "IsNotation");
  L0_Func_add_ColumnType_TextBox(type, "Notation");
  L0_Func_add_d_eventHandler_main(table, "FocusLost", saver);
  L0_Func_add_d_eventHandler_main(table, "DeleteButtonClick", saver);
  if (checkBox) L0_Func_make_checkBoxTable(compartType);
  gr::dlg::setRows(table, valueRows(compartType));
  return table;
}

void deleteChoiceItem(L0_Var_2& item) {
  L0_Var_2 notation = stable(firstOver(item, "notation", "Notation"));
  if (!notation.isNull() && firstOver(notation, "choiceItem", "ChoiceItem") == item) {
    bool shared = partnersOf(notation, "choiceItem", "ChoiceItem").size() > 1;
    if (!shared) notation.deleteObj();
  }
  item.deleteObj();
}

void linkStyles(L0_Var_2& item, const TableRow& row, const L0_Var_2& elemType) {
  L0_Var_2 elemStyle = elemStyleNamed(elemType, row.at("ElemStyle"));
  if (!elemStyle.isNull()) link(item, "elemStyleByChoiceItem", elemStyle);
  L0_Var_2 compartStyle = compartStyleNamed(elemType, row.at("CompartStyle"));
  if (!compartStyle.isNull()) link(item, "compartStyleByChoiceItem", compartStyle);
  if (row.at("IsNotation") == "true") {
    L0_Var_2 notation = newObject("Notation");
    notation.setAttr("value", row.at("Notation"));
    link(item, "notation", notation);
  }
}

// Compartments of the type show what the items now say of their values.
void reselectChoiceItems(const L0_Var_2& compartType) {
  for (L0_Var_2& compartment : stablePartners(compartType, "compartment", "Compartment")) {
    std::string value = valueOf(compartment, "value");
    for (const L0_Var_2& item : partnersOf(compartType, "choiceItem", "ChoiceItem"))
      if (valueOf(item, "value") == value) {
        link(compartment, "selectedItem", stable(item));
        break;
      }
    L0_Func_set_compartment_input(compartment);
    L0_Func_update_styles_from_compartment(compartment);
    L0_Var_2 element = stable(L0_Func_get_compartment_parent_element(compartment));
    if (!firstOver(element, "graphDiagram", "GraphDiagram").isNull()) L0_Func_okCmd(element);
  }
}

void saveValueTable(const L0_Var_2& table, const char* failure) {
  L0_Var_2 type = selectedCompartType();
  if (table.isNull() || type.isNull()) {
    gr::showMessageBox(failure);
    finishEvent();
    return;
  }
  L0_Func_write_choice_items(table, type);
  // Shown anew: deleted rows go, and a check box keeps its two values.
  L0_Var_2 shown = table;
  gr::dlg::setRows(shown, valueRows(type));
  finishEvent();
}

// ---- rows of the compartment-type tab

L0_Var_2 addColumnsRow(L0_Var_2& container) {
  L0_Var_2 row = L0_Func_add_horizontalRow(container, "ComboRow");
  row.setAttr("maximumHeight", "0");
  L0_Var_2 first = newObject("D#Column");
  setValues(first, {{"id", "column1"}, {"horizontalAlignment", "1"}});
  link(first, "container", row);
  L0_Var_2 second = newObject("D#Column");
  second.setAttr("id", "column2");
  link(second, "container", row);
  return row;
}

void addRowTypeParts(L0_Var_2& row, const L0_Var_2& type) {
  L0_Var_2 propertyRow = rowOf(type);
  std::string rowType = valueOf(propertyRow, "rowType");
  if (rowType == "ComboBoxRow") {
    L0_Func_add_checkBox_comobBox_table(row, "ComboBox Table");
    L0_Func_add_CheckBox_to_column(row, "Is Editable", "isEditable",
                                   flagOf(propertyRow, "isEditable"), "update_propertyRow");
  } else if (rowType == "CheckBoxRow") {
    L0_Func_add_checkBox_comobBox_table(row, "CheckBox Table");
  } else if (rowType == "EmptyRow") {
    L0_Func_add_checkBox_comobBox_table(row, "Free Table");
  } else if (rowType == "StereotypeRow") {
    L0_Func_add_stereotype_table(row);
  } else if (rowType == "MultiLineTextBoxRow+Tree") {
    L0_Func_add_component_transformation_field(row);
  }
}

}  // namespace

// ---- the compartment-type tab

void L0_Func_make_compartType_property(L0_Var_2 container, L0_Var_2 type) {
  if (!isKind(type, "CompartType")) {
    gr::showMessageBox("Error in make_type_tab");
    return;
  }
  L0_Func_add_Row_void_properties(container, "ID", "id", valueOf(type, "id"),
                                  "update_compartType_id");
  L0_Func_add_NameRow(container, "Caption", valueOf(type, "caption"));
  L0_Var_2 row = addColumnsRow(container);
  L0_Var_2 column1 = L0_Func_get_exact_component_from_container_by_id(row, "column1", 1);
  L0_Var_2 column2 = L0_Func_get_exact_component_from_container_by_id(row, "column2", 1);
  L0_Func_add_label(column1, "Row Type");
  L0_Var_2 rowTypes = newObject("D#ComboBox");
  setValues(rowTypes, {{"id", "row_type"}, {"editable", "false"}});
  link(rowTypes, "container", column2);
  L0_Func_fill_row_type_comboBox(rowTypes);
  L0_Func_add_d_eventHandler_main(rowTypes, "Change", "row_type_changed");
  addRowTypeParts(row, type);
  L0_Var_2 tab = L0_Func_add_ComboBoxRow(container, "Tab", "tab", "", true, "fill_tab_comboBox");
  L0_Func_add_d_eventHandler_main(tab, "FocusLost", "add_propertyTab");
  L0_Func_add_Row_void_properties(container, "Start Value", "startValue",
                                  valueOf(type, "startValue"), "set_isEssential");
  L0_Func_add_Row(container, "Adornment Prefix", "adornmentPrefix",
                  valueOf(type, "adornmentPrefix"));
  L0_Func_add_Row(container, "Adornment Suffix", "adornmentSuffix",
                  valueOf(type, "adornmentSuffix"));
  L0_Func_add_Row(container, "Concat Style", "concatStyle", valueOf(type, "concatStyle"));
  L0_Func_add_CheckBox_focusLost(container, "Is Essential", "isEssential",
                                 flagOf(type, "isEssential"), "set_parents_isEssential");
}
GR_ENTRY_SIGNATURE(L0_Func_make_compartType_property)

// A new row type makes the row of the property dialog, then the tab shows
// what the row type needs.
void L0_Func_row_type_changed() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 type = selectedCompartType();
  if (!combo.isNull() && !type.isNull()) {
    L0_Func_add_propertyRow_to_propertyDiagram(type, valueOf(combo, "text"));
    L0_Func_make_type_tab(L0_Func_get_tab("tab1"));
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_row_type_changed)

void L0_Func_add_checkBox_comobBox_table(L0_Var_2 row, std::string caption) {
  addValueTable(row, caption, selectedCompartType(), "update_comboBoxTable");
}
GR_ENTRY_SIGNATURE(L0_Func_add_checkBox_comobBox_table)

void L0_Func_add_stereotype_table(L0_Var_2 row) {
  addValueTable(row, "Stereotype Table", selectedCompartType(), "update_stereoBoxTable");
}
GR_ENTRY_SIGNATURE(L0_Func_add_stereotype_table)

void L0_Func_make_checkBoxTable(L0_Var_2 compartType) {
  for (const char* value : {"true", "false"}) {
    bool found = false;
    for (const L0_Var_2& item : partnersOf(compartType, "choiceItem", "ChoiceItem"))
      found = found || valueOf(item, "value") == value;
    if (found) continue;
    L0_Var_2 item = newObject("ChoiceItem");
    item.setAttr("value", value);
    link(compartType, "choiceItem", item);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_make_checkBoxTable)

void L0_Func_update_comboBoxTable() {
  L0_Var_2 source = stable(gr::dlg::eventSource());
  saveValueTable(isKind(source, "D#VTable") ? source : L0_Var_2("D#VTable"),
                 "Error in update_comboBoxTable");
}
GR_ENTRY_SIGNATURE(L0_Func_update_comboBoxTable)

void L0_Func_update_stereoBoxTable() {
  L0_Var_2 table = L0_Func_get_component_from_container_by_id(L0_Func_get_tab("tab1"), "ComboRow");
  table = L0_Func_get_exact_component_from_container_by_id(table, "column2", 1);
  L0_Var_2 found("D#VTable");
  for (const L0_Var_2& each : gr::dlg::components(table))
    if (isKind(each, "D#VTable") && valueOf(each, "id") == kValueTableId) found = each;
  saveValueTable(found, "Error in update_stereoBoxTable");
}
GR_ENTRY_SIGNATURE(L0_Func_update_stereoBoxTable)

void L0_Func_write_choice_items(L0_Var_2 table, L0_Var_2 compartType) {
  compartType = stable(compartType);
  L0_Var_2 elemType = ownerOf(compartType);
  bool checkBox = valueOf(rowOf(compartType), "rowType") == "CheckBoxRow";
  for (L0_Var_2& item : stablePartners(compartType, "choiceItem", "ChoiceItem"))
    deleteChoiceItem(item);
  std::set<std::string> written;
  for (const TableRow& row : gr::dlg::liveRows(table)) {
    const std::string& value = row.at("ChoiceItem");
    if (checkBox && value != "true" && value != "false") continue;
    if (!written.insert(value).second) {
      gr::showMessageBox("The value \"" + value + "\" is listed twice; it is kept once.");
      continue;
    }
    L0_Var_2 item = newObject("ChoiceItem");
    item.setAttr("value", value);
    link(compartType, "choiceItem", item);
    linkStyles(item, row, elemType);
  }
  if (checkBox) L0_Func_make_checkBoxTable(compartType);
  reselectChoiceItems(compartType);
}
GR_ENTRY_SIGNATURE(L0_Func_write_choice_items)

void L0_Func_set_isEssential() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 type = selectedCompartType();
  if (!field.isNull() && !type.isNull()) {
    std::string value = valueOf(field, "text");
    if (value != valueOf(type, "startValue")) {
      type.setAttr("startValue", value);
      type.setAttr("isEssential", "true");
      L0_Var_2 box =
          L0_Func_get_component_from_container_by_id(gr::dlg::formOf(field), "isEssential");
      if (!box.isNull()) {
        box.setAttr("checked", "true");
        refreshComponent(box);
      }
    }
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_set_isEssential)

// A field that must be there makes the fields above it be there too.
void L0_Func_set_parents_isEssential() {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 type = selectedCompartType();
  if (!box.isNull() && !type.isNull()) {
    bool essential = flagOf(box, "checked");
    type.setAttr("isEssential", essential ? "true" : "false");
    if (essential)
      for (L0_Var_2 parent = stable(firstOver(type, "parentCompartType", "CompartType"));
           !parent.isNull(); parent = stable(firstOver(parent, "parentCompartType", "CompartType")))
        parent.setAttr("isEssential", "true");
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_set_parents_isEssential)

void L0_Func_update_propertyRow() {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 row = rowOf(selectedCompartType());
  if (box.isNull()) {
    finishEvent();
    return;
  }
  if (row.isNull()) {
    gr::showMessageBox("The compartment type has no row yet: choose its row type first.");
    box.setAttr("checked", "false");
    refreshComponent(box);
    finishEvent();
    return;
  }
  std::string attribute = valueOf(box, "id");
  bool checked = flagOf(box, "checked");
  row.setAttr(attribute, checked ? "true" : "false");
  if (attribute == "isFirstRespondent" && checked) L0_Func_reset_first_respondent(row);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_propertyRow)

void L0_Func_add_component_transformation_field(L0_Var_2 row) {
  L0_Var_2 column2 = L0_Func_get_exact_component_from_container_by_id(row, "column2", 1);
  L0_Func_add_Row_void_properties(column2, "Transformation", "treeTransformation",
                                  valueOf(rowOf(selectedCompartType()), "treeTransformation"),
                                  "update_tree_transformation");
}
GR_ENTRY_SIGNATURE(L0_Func_add_component_transformation_field)

void L0_Func_update_tree_transformation() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 row = rowOf(selectedCompartType());
  if (field.isNull() || row.isNull())
    gr::showMessageBox("Error in update_tree_transformation");
  else
    row.setAttr("treeTransformation", valueOf(field, "text"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_tree_transformation)

void L0_Func_reset_first_respondent(L0_Var_2 row) {
  L0_Var_2 dialog = stable(firstOver(row, "propertyDiagram", "PropertyDiagram"));
  if (dialog.isNull())
    dialog = stable(firstOver(firstOver(row, "propertyTab", "PropertyTab"), "propertyDiagram",
                              "PropertyDiagram"));
  std::vector<L0_Var_2> rows = stablePartners(dialog, "propertyRow", "PropertyRow");
  for (const L0_Var_2& tab : partnersOf(dialog, "propertyTab", "PropertyTab"))
    for (L0_Var_2& each : stablePartners(tab, "propertyRow", "PropertyRow")) rows.push_back(each);
  for (L0_Var_2& each : rows)
    if (each != row) each.setAttr("isFirstRespondent", "false");
}
GR_ENTRY_SIGNATURE(L0_Func_reset_first_respondent)

// ---- "Transformations"

namespace {

struct NamedAttribute {
  const char* label;
  const char* attribute;
};

const NamedAttribute kCompartTransformations[] = {
    {"Start Value Generate", "procStartValue"},
    {"Blocking Field Entered", "procBlockingFieldEntered"},
    {"Forced Values Field Entered", "procForcedValuesFieldEntered"},
    {"Check Compartment Field Entered", "procCheckCompartmentFieldEntered"},
    {"Generate Items ClickBox", "procGenerateItemsClickBox"},
    {"Compose", "procCompose"},
    {"Decompose", "procDecompose"},
    {"Field Entered", "procFieldEntered"},
    {"Create Domain", "procCreateCompartmentDomain"},
    {"Update Domain", "procUpdateCompartmentDomain"},
    {"Delete Domain", "procDeleteCompartmentDomain"}};

const NamedAttribute kElemTransformations[] = {
    {"L2click Event", "l2ClickEvent"},
    {"Properties", "procProperties"},
    {"Dynamic PopUp", "procDynamicPopUp"},
    {"Copy", "procCopied"},
    {"Paste", "procPasted"},
    {"Clipboard Cleared", "procClipboardCleared"},
    {"New Element", "procNewElement"},
    {"Create Domain", "procCreateElementDomain"},
    {"Delete Element", "procDeleteElement"},
    {"Delete Domain", "procDeleteElementDomain"},
    {"Element Entered", "procElementEntered"},
    {"Get Definition", "procGetDefinition"},
    {"Insert Definition Into Scope", "procInsertDefinitionIntoScope"}};

template <std::size_t N>
void addTransformationRows(L0_Var_2& tab, const L0_Var_2& type, const NamedAttribute (&rows)[N]) {
  for (const NamedAttribute& row : rows)
    L0_Func_add_Row(tab, row.label, row.attribute, valueOf(type, row.attribute));
}

}  // namespace

void L0_Func_make_UT_tab(L0_Var_2 tab) {
  L0_Var_2 type = selectedType();
  if (tab.isNull() || type.isNull()) {
    gr::showMessageBox("Error in make_UT_tab");
    return;
  }
  L0_Func_delete_container_components(tab);
  if (isKind(type, "CompartType"))
    L0_Func_make_universal_compart_tab(tab, type);
  else
    L0_Func_make_universal_elem_tab(tab, type);
}
GR_ENTRY_SIGNATURE(L0_Func_make_UT_tab)

void L0_Func_make_universal_compart_tab(L0_Var_2 tab, L0_Var_2 type) {
  addTransformationRows(tab, type, kCompartTransformations);
}
GR_ENTRY_SIGNATURE(L0_Func_make_universal_compart_tab)

void L0_Func_make_universal_elem_tab(L0_Var_2 tab, L0_Var_2 type) {
  if (!isKind(type, "ElemType")) {
    gr::showMessageBox("Error in make_universal_elem_tab");
    return;
  }
  addTransformationRows(tab, type, kElemTransformations);
  if (isKind(type, "EdgeType"))
    L0_Func_add_Row(tab, "Move Line", "procMoveLine", valueOf(type, "procMoveLine"));
  if (isKind(type, "NodeType"))
    L0_Func_add_Row(tab, "Container Changed", "procContainerChanged",
                    valueOf(type, "procContainerChanged"));
}
GR_ENTRY_SIGNATURE(L0_Func_make_universal_elem_tab)

// ---- "Extras"

namespace {

// A table of one combo-box column whose rows are written back whole.
L0_Var_2 addChoiceTable(L0_Var_2& container, const char* caption, const char* insert,
                        const char* remove, const char* column, const std::string& items,
                        const char* saver) {
  L0_Func_add_label(container, caption);
  L0_Var_2 table = gr::dlg::newTable(container, caption, insert, remove, 170, 100);
  L0_Func_add_ColumnType_ComboBox_with_items(gr::dlg::tableType(table), column, items);
  L0_Func_add_d_eventHandler_main(table, "FocusLost", saver);
  L0_Func_add_d_eventHandler_main(table, "DeleteButtonClick", saver);
  return table;
}

void showCaptions(L0_Var_2& table, const std::vector<L0_Var_2>& objects) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& object : objects) rows.push_back({valueOf(object, "caption")});
  gr::dlg::setRows(table, rows);
}

L0_Var_2 eventTable() {
  L0_Var_2 source = stable(gr::dlg::eventSource());
  return isKind(source, "D#VTable") ? source : L0_Var_2("D#VTable");
}

void addBlockingTable(L0_Var_2& tab, const L0_Var_2& type) {
  L0_Var_2 table =
      addChoiceTable(tab, "Blocking", "AddBlockedField", "DeleteBlockedField", "Blocked Field",
                     itemsOf(captionsOf(compartTypesOf(ownerOf(type)))), "update_blockingTable");
  table.setAttr("maximumWidth", "170");
  showCaptions(table, stablePartners(type, "blocking", "CompartType"));
}

// The box types of the element type's diagram type.
std::vector<L0_Var_2> boxTypesBeside(const L0_Var_2& type) {
  std::vector<L0_Var_2> boxes;
  L0_Var_2 diagramType = firstOver(type, "graphDiagramType", "GraphDiagramType");
  for (const L0_Var_2& each : partnersOf(diagramType, "elemType", "ElemType"))
    if (isKind(each, "NodeType")) boxes.push_back(stable(each));
  return boxes;
}

void addContainerTable(L0_Var_2& tab, const L0_Var_2& type) {
  L0_Var_2 table =
      addChoiceTable(tab, "Contains", "AddComponentBox", "DeleteComponentBox", "Box Name",
                     itemsOf(captionsOf(boxTypesBeside(type))), "update_containerTable");
  showCaptions(table, stablePartners(type, "componentType", "NodeType"));
}

}  // namespace

void L0_Func_make_extra_tab(L0_Var_2 tab) {
  L0_Var_2 type = selectedType();
  if (tab.isNull() || type.isNull()) {
    gr::showMessageBox("Error in make_extra_tab");
    return;
  }
  L0_Func_delete_container_components(tab);
  if (isKind(type, "CompartType"))
    L0_Func_add_compartType_extras(tab, type);
  else
    L0_Func_add_elemType_extras(tab, type);
}
GR_ENTRY_SIGNATURE(L0_Func_make_extra_tab)

void L0_Func_add_compartType_extras(L0_Var_2 tab, L0_Var_2 type) {
  if (!isKind(type, "CompartType")) {
    gr::showMessageBox("Error in add_compartType_extras");
    return;
  }
  L0_Var_2 row = rowOf(type);
  L0_Func_add_Row(tab, "Name For Stereotype Base", "nameForStereotypeBase",
                  valueOf(type, "nameForStereotypeBase"));
  auto flag = [&](const char* label, const char* attribute, const L0_Var_2& owner,
                  const char* handler) {
    L0_Func_add_CheckBox_focusLost(tab, label, attribute, flagOf(owner, attribute), handler);
  };
  flag("Is Stereotypable", "isStereotypable", type, "update_from_checkBox");
  flag("Is Stereotype", "isStereotype", type, "update_from_checkBox");
  flag("Is Occurrence Compartment", "is_occurrence_compartment", type, "update_from_checkBox");
  flag("Is First Respondent", "isFirstRespondent", row, "update_propertyRow");
  flag("No Style", "toBeInvisible", type, "update_to_be_invisible");
  flag("Is Multiple", "isMultiple", type, "update_from_checkBox");
  flag("Is Read Only", "isReadOnly", row, "update_propertyRow");
  flag("Is Hint", "isHint", type, "update_from_checkBox");
  flag("Is Word Document", "isWordDocument", type, "set_isWordDocument");
  addBlockingTable(tab, type);
}
GR_ENTRY_SIGNATURE(L0_Func_add_compartType_extras)

void L0_Func_add_elemType_extras(L0_Var_2 tab, L0_Var_2 type) {
  if (!isKind(type, "ElemType")) {
    gr::showMessageBox("Error in add_elemType_extras");
    return;
  }
  L0_Func_add_Row(tab, "Name For Stereotype Base", "nameForStereotypeBase",
                  valueOf(type, "nameForStereotypeBase"));
  L0_Func_add_CheckBox(tab, "Is Stereotypable", "isStereotypable", flagOf(type, "isStereotypable"),
                       true);
  L0_Func_add_CheckBox(tab, "Has Occurrences", "has_occurrences", flagOf(type, "has_occurrences"),
                       true);
  L0_Var_2 identity = firstOver(type, "identity", "CompartType");
  L0_Var_2 combo =
      L0_Func_add_ComboBoxRow(tab, "Identifying Compartment", "identity",
                              valueOf(identity, "caption"), false, "add_identity_comboBox_items");
  L0_Func_add_d_eventHandler_main(combo, "FocusLost", "add_delete_identity_link");
  L0_Var_2 dialog = firstOver(type, "propertyDiagram", "PropertyDiagram");
  L0_Func_add_Row_void_int_properties(tab, "Property Diagram Height", "height",
                                      valueOf(dialog, "height"), "update_popUpDiagram_size");
  L0_Func_add_Row_void_int_properties(tab, "Property Diagram Width", "width",
                                      valueOf(dialog, "width"), "update_popUpDiagram_size");
  L0_Func_add_shortcut(tab);
  if (isKind(type, "NodeType")) addContainerTable(tab, type);
}
GR_ENTRY_SIGNATURE(L0_Func_add_elemType_extras)

void L0_Func_update_to_be_invisible() {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 type = selectedCompartType();
  if (box.isNull() || type.isNull()) {
    finishEvent();
    return;
  }
  bool invisible = flagOf(box, "checked");
  type.setAttr(valueOf(box, "id"), invisible ? "true" : "false");
  if (invisible) {
    for (L0_Var_2& style : stablePartners(type, "compartStyle", "CompartStyle")) style.deleteObj();
  } else {
    L0_Var_2 style = stable(L0_Func_add_default_compartStyle());
    style.setAttr("id", valueOf(type, "id"));
    style.setAttr("caption", valueOf(type, "caption"));
    link(type, "compartStyle", style);
    L0_Var_2 element = gr::cfg::typeElement();
    L0_Var_2 compartment = newObject("Compartment");
    compartment.setAttr("style", "");
    link(compartment, "compartStyle", style);
    link(compartment, "compartType", type);
    if (!element.isNull()) link(element, "compartment", compartment);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_to_be_invisible)

void L0_Func_set_isWordDocument() {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 type = selectedCompartType();
  if (!box.isNull() && !type.isNull())
    type.setAttr("isWordDocument", flagOf(box, "checked") ? "true" : "false");
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_set_isWordDocument)

void L0_Func_update_blockingTable() {
  L0_Var_2 table = eventTable();
  L0_Var_2 type = selectedCompartType();
  if (table.isNull() || type.isNull()) {
    gr::showMessageBox("Error in update_blockingTable");
    finishEvent();
    return;
  }
  for (L0_Var_2& blocked : stablePartners(type, "blocking", "CompartType"))
    type.deleteLink(blocked, "blocking");
  for (const TableRow& row : gr::dlg::liveRows(table))
    if (!row.at("Blocked Field").empty()) L0_Func_add_blocking(type, row.at("Blocked Field"));
  showCaptions(table, stablePartners(type, "blocking", "CompartType"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_blockingTable)

bool L0_Func_add_blocking(L0_Var_2 type, std::string caption) {
  for (L0_Var_2& candidate : compartTypesOf(ownerOf(type))) {
    if (valueOf(candidate, "caption") != caption) continue;
    if (!type.checkLink(candidate, "blocking")) link(type, "blocking", candidate);
    return true;
  }
  gr::showMessageBox("Error in add_blocking");
  return false;
}
GR_ENTRY_SIGNATURE(L0_Func_add_blocking)

void L0_Func_add_identity_comboBox_items(L0_Var_2 comboBox) {
  L0_Func_add_item(comboBox, "");
  for (const L0_Var_2& type : compartTypesOf(selectedType()))
    L0_Func_add_item(comboBox, valueOf(type, "caption"));
}
GR_ENTRY_SIGNATURE(L0_Func_add_identity_comboBox_items)

void L0_Func_add_delete_identity_link() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 type = selectedType();
  if (combo.isNull() || !isKind(type, "ElemType")) {
    finishEvent();
    return;
  }
  L0_Var_2 old = stable(firstOver(type, "identity", "CompartType"));
  if (!old.isNull()) type.deleteLink(old, "identity");
  std::string caption = valueOf(combo, "text");
  for (L0_Var_2& each : compartTypesOf(type))
    if (!caption.empty() && valueOf(each, "caption") == caption) {
      link(type, "identity", each);
      break;
    }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_add_delete_identity_link)

void L0_Func_update_popUpDiagram_size() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 type = selectedType();
  L0_Var_2 dialog = stable(firstOver(type, "propertyDiagram", "PropertyDiagram"));
  if (field.isNull() || !isKind(type, "ElemType")) {
    finishEvent();
    return;
  }
  std::string text = valueOf(field, "text");
  bool ok = true;
  gr::dlg::cellNumber(text, ok);
  if (!ok) {
    L0_Var_2 form = gr::dlg::formOf(field);
    for (L0_Var_2& old : stablePartners(form, "focused", "D#Component"))
      form.deleteLink(old, "focused");
    link(form, "focused", field);
    refreshComponent(field);
  } else if (dialog.isNull()) {
    gr::showMessageBox(
        "The element type has no property dialog: give a compartment type a row "
        "type first.");
    field.setAttr("text", "");
    refreshComponent(field);
  } else {
    dialog.setAttr(valueOf(field, "id"), text);
  }
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_popUpDiagram_size)

void L0_Func_update_containerTable() {
  L0_Var_2 table = eventTable();
  L0_Var_2 type = selectedType();
  if (table.isNull() || !isKind(type, "NodeType")) {
    gr::showMessageBox("Error in update_containerTable");
    finishEvent();
    return;
  }
  for (L0_Var_2& box : stablePartners(type, "componentType", "NodeType"))
    type.deleteLink(box, "componentType");
  std::vector<L0_Var_2> boxes = boxTypesBeside(type);
  for (const TableRow& row : gr::dlg::liveRows(table))
    for (L0_Var_2& box : boxes)
      if (!row.at("Box Name").empty() && valueOf(box, "caption") == row.at("Box Name") &&
          !type.checkLink(box, "componentType")) {
        link(type, "componentType", box);
        break;
      }
  showCaptions(table, stablePartners(type, "componentType", "NodeType"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_containerTable)

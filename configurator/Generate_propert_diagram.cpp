#include "configurator/Generate_propert_diagram.h"

#include <algorithm>

#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Utilities.h"

using gr::firstOf;
using gr::firstOver;
using gr::stable;
using gr::cfg::flagOf;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::partnersOf;
using gr::cfg::setValues;
using gr::cfg::valueOf;
using gr::dlg::finishEvent;

namespace {

const char* const kRowTypes[] = {"",
                                 "InputRow",
                                 "InputRow+Button",
                                 "MultiLineTextBoxRow",
                                 "MultiLineTextBoxRow+Button",
                                 "MultiLineTextBoxRow+Tree",
                                 "CheckBoxRow",
                                 "ComboBoxRow",
                                 "ListBoxRow",
                                 "GroupedInputsRow",
                                 "TagRow",
                                 "StereotypeRow",
                                 "LabelRow",
                                 "EmptyRow"};

bool hasButton(const std::string& rowType) {
  return rowType == "InputRow+Button" || rowType == "MultiLineTextBoxRow+Button" ||
         rowType == "MultiLineTextBoxRow+Tree";
}

// ---- definition side

L0_Var_2 rowOf(const L0_Var_2& compartType) {
  return stable(firstOver(compartType, "propertyRow", "PropertyRow"));
}

// The dialog that holds ROW, directly or through its tab.
L0_Var_2 dialogOfRow(const L0_Var_2& row) {
  L0_Var_2 dialog = firstOver(row, "propertyDiagram", "PropertyDiagram");
  if (!dialog.isNull()) return stable(dialog);
  L0_Var_2 tab = firstOver(row, "propertyTab", "PropertyTab");
  return stable(firstOver(tab, "propertyDiagram", "PropertyDiagram"));
}

L0_Var_2 newDialog(const std::string& id) {
  L0_Var_2 dialog = newObject("PropertyDiagram");
  dialog.setAttr("id", id);
  return dialog;
}

// The element type's own dialog, made when missing.
L0_Var_2 parentDialog(L0_Var_2& elemType) {
  L0_Var_2 dialog = stable(firstOver(elemType, "propertyDiagram", "PropertyDiagram"));
  if (!dialog.isNull()) return dialog;
  dialog = newDialog("Parent Diagram");
  link(dialog, "elemType", elemType);
  return dialog;
}

// The element type a compartment type belongs to, through its parents.
L0_Var_2 elemTypeOf(L0_Var_2 compartType) {
  for (int depth = 0; depth < 64 && !compartType.isNull(); ++depth) {
    L0_Var_2 owner = firstOver(compartType, "elemType", "ElemType");
    if (!owner.isNull()) return stable(owner);
    compartType = stable(firstOver(compartType, "parentCompartType", "CompartType"));
  }
  return L0_Var_2("ElemType");
}

L0_Var_2 childDialogOf(const L0_Var_2& compartType) {
  return stable(firstOver(compartType, "propertyDiagram", "PropertyDiagram"));
}

void relinkRow(L0_Var_2& row, L0_Var_2& target, const char* role) {
  L0_Var_2 oldDialog = stable(firstOver(row, "propertyDiagram", "PropertyDiagram"));
  if (!oldDialog.isNull()) row.deleteLink(oldDialog, "propertyDiagram");
  L0_Var_2 oldTab = stable(firstOver(row, "propertyTab", "PropertyTab"));
  if (!oldTab.isNull()) row.deleteLink(oldTab, "propertyTab");
  link(row, role, target);
}

// The rows of the sub-compartment types, at any depth, move into DIALOG.
void gatherSubRows(const L0_Var_2& compartType, L0_Var_2& dialog) {
  for (const L0_Var_2& sub : partnersOf(compartType, "subCompartType", "CompartType")) {
    L0_Var_2 row = rowOf(sub);
    if (!row.isNull()) relinkRow(row, dialog, "propertyDiagram");
    if (!hasButton(valueOf(row, "rowType"))) gatherSubRows(stable(sub), dialog);
  }
}

// A sub-dialog hands its tabs and rows to the dialog above it and goes.
void dissolveChildDialog(const L0_Var_2& compartType, L0_Var_2 parent) {
  L0_Var_2 child = childDialogOf(compartType);
  if (child.isNull()) return;
  for (const L0_Var_2& tab : partnersOf(child, "propertyTab", "PropertyTab")) {
    L0_Var_2 each = stable(tab);
    each.deleteLink(child, "propertyDiagram");
    link(each, "propertyDiagram", parent);
  }
  for (const L0_Var_2& row : partnersOf(child, "propertyRow", "PropertyRow")) {
    L0_Var_2 each = stable(row);
    relinkRow(each, parent, "propertyDiagram");
  }
  child.deleteObj();
}

// The dialog a row of COMPARTTYPE goes into: the called dialog of the
// parent's button row, else the element type's dialog.
L0_Var_2 dialogForRowOf(const L0_Var_2& compartType) {
  L0_Var_2 parent = stable(firstOver(compartType, "parentCompartType", "CompartType"));
  L0_Var_2 parentRow = rowOf(parent);
  if (!parentRow.isNull() && hasButton(valueOf(parentRow, "rowType"))) {
    L0_Var_2 called = stable(firstOver(parentRow, "calledDiagram", "PropertyDiagram"));
    if (called.isNull()) called = childDialogOf(parent);
    if (called.isNull()) {
      called = newDialog("Child Diagram");
      link(called, "compartType", parent);
    }
    if (!parentRow.checkLink(called, "calledDiagram")) link(parentRow, "calledDiagram", called);
    return called;
  }
  if (!parent.isNull()) return dialogForRowOf(parent);
  L0_Var_2 elemType = elemTypeOf(compartType);
  return parentDialog(elemType);
}

L0_Var_2 tabWithCaption(const L0_Var_2& dialog, const std::string& caption) {
  for (const L0_Var_2& tab : partnersOf(dialog, "propertyTab", "PropertyTab"))
    if (valueOf(tab, "caption") == caption) return stable(tab);
  return L0_Var_2("PropertyTab");
}

// ---- the generated form

L0_Var_2 formOf(L0_Var_2 component) {
  for (int depth = 0; depth < 64 && !component.isNull(); ++depth) {
    if (isKind(component, "D#Form")) return component;
    component = stable(firstOver(component, "container", "D#Container"));
  }
  return L0_Var_2("D#Form");
}

std::string captionOfRow(const L0_Var_2& row) {
  L0_Var_2 type = firstOver(row, "compartType", "CompartType");
  return type.isNull() ? valueOf(row, "id") : valueOf(type, "caption");
}

L0_Var_2 field(L0_Var_2 container, const std::string& className, const gr::cfg::Values& values,
               L0_Var_2& row) {
  L0_Var_2 component = newObject(className);
  setValues(component, values);
  link(component, "container", container);
  link(component, "propertyRow", row);
  return component;
}

void onFocusLost(L0_Var_2& component) {
  L0_Func_add_d_eventHandler_main(component, "FocusLost", "update_presentation");
}

void addSubButton(L0_Var_2& container, L0_Var_2& row) {
  L0_Var_2 button = L0_Func_add_Button(container, "subproperties", "<-", "");
  link(button, "propertyRow", row);
  L0_Func_add_d_eventHandler_main(button, "Click", "show_subproperties");
}

// One row of the definition; false for row types without a component.
// What a tree row's "<-" button runs: the row's own transformation
// ("library#name", a bare name this library's), else the script engine's
// tree form.
std::pair<std::string, std::string> treeHandlerOf(const L0_Var_2& row) {
  std::string named = valueOf(row, "treeTransformation");
  if (named.empty()) return {"lua_engine", "lua.law_view.create_form()"};
  std::size_t hash = named.find('#');
  if (hash == std::string::npos) return {"main", named};
  return {named.substr(0, hash), named.substr(hash + 1)};
}

bool addRowComponents(L0_Var_2& container, L0_Var_2& row) {
  std::string type = valueOf(row, "rowType");
  static const std::vector<std::string> built = {"InputRow",
                                                 "CheckBoxRow",
                                                 "ComboBoxRow",
                                                 "StereotypeRow",
                                                 "MultiLineTextBoxRow",
                                                 "InputRow+Button",
                                                 "MultiLineTextBoxRow+Button",
                                                 "LabelRow",
                                                 "MultiLineTextBoxRow+Tree"};
  if (std::find(built.begin(), built.end(), type) == built.end()) return false;
  L0_Var_2 line = L0_Func_add_row_box_label(container, captionOfRow(row));
  link(line, "propertyRow", row);
  bool readOnly = flagOf(row, "isReadOnly");
  L0_Var_2 component("D#Component");
  if (type == "InputRow" || type == "InputRow+Button") {
    component = field(line, "D#InputField", {{"id", "inputField"}, {"minimumWidth", "150"}}, row);
    onFocusLost(component);
    if (type == "InputRow+Button") addSubButton(line, row);
  } else if (type == "CheckBoxRow") {
    L0_Var_2 box = L0_Func_add_horizontalBox(line, "HorizontalBox");
    component = field(
        box, "D#CheckBox",
        {{"id", "checkBox"}, {"checked", "false"}, {"editable", "true"}, {"enabled", "true"}}, row);
    L0_Func_add_d_eventHandler_main(component, "Change", "update_presentation");
  } else if (type == "ComboBoxRow" || type == "StereotypeRow") {
    component = field(line, "D#ComboBox",
                      {{"id", "comboBox"},
                       {"minimumWidth", "150"},
                       {"editable", flagOf(row, "isEditable") ? "true" : "false"}},
                      row);
    onFocusLost(component);
    L0_Func_add_d_eventHandler_main(component, "DropDown", "update_comboBox_items");
    L0_Func_add_d_eventHandler_main(component, "Change", "comboBox_changed");
  } else if (type == "MultiLineTextBoxRow") {
    component = field(line, "D#TextArea", {{"id", "textArea"}, {"minimumWidth", "150"}}, row);
    onFocusLost(component);
  } else if (type == "MultiLineTextBoxRow+Button") {
    component =
        field(line, "D#MultiLineTextBox",
              {{"id", "multiLineTextBox"}, {"minimumHeight", "100"}, {"minimumWidth", "150"}}, row);
    onFocusLost(component);
    addSubButton(line, row);
  } else if (type == "MultiLineTextBoxRow+Tree") {
    component = field(line, "D#TextArea",
                      {{"id", "textArea"}, {"minimumWidth", "150"}, {"editable", "false"}}, row);
    L0_Var_2 button = L0_Func_add_Button(line, "tree", "<-", "");
    L0_Var_2 handler = newObject("D#EventHandler");
    auto [library, transformation] = treeHandlerOf(row);
    setValues(handler, {{"eventName", "Click"},
                        {"transformationName", transformation},
                        {"procedureName", library}});
    link(handler, "eventSource", button);
  } else if (type == "LabelRow") {
    component =
        stable(firstOver(firstOver(line, "component", "D#HorizontalBox"), "component", "D#Label"));
    link(component, "propertyRow", row);
  }
  if (readOnly && !component.isNull()) component.setAttr("readOnly", "true");
  return true;
}

void addEventHandlers(L0_Var_2& component, const L0_Var_2& owner) {
  static const std::vector<std::string> known = {
      "OKButtonClick", "CancelButtonClick", "FocusLost",  "DropDown",
      "Change",        "NewItem",           "ButtonClick"};
  for (const L0_Var_2& handler : partnersOf(owner, "propertyEventHandler", "PropertyEventHandler"))
    if (std::find(known.begin(), known.end(), valueOf(handler, "eventType")) != known.end())
      L0_Func_add_d_eventHandler_main(component, valueOf(handler, "eventType"),
                                      valueOf(handler, "transformationName"));
}

void addRows(L0_Var_2& container, const L0_Var_2& owner, L0_Var_2& form) {
  for (const L0_Var_2& each : partnersOf(owner, "propertyRow", "PropertyRow")) {
    L0_Var_2 row = stable(each);
    if (!addRowComponents(container, row)) continue;
    addEventHandlers(container, row);
    if (flagOf(row, "isFirstRespondent")) {
      L0_Var_2 first = L0_Func_get_component_from_container_by_id(container, "inputField");
      if (!first.isNull() && firstOver(form, "focused", "D#Component").isNull())
        link(form, "focused", first);
    }
  }
}

void addTabs(L0_Var_2& form, const L0_Var_2& definition) {
  std::vector<L0_Var_2> tabs = partnersOf(definition, "propertyTab", "PropertyTab");
  if (tabs.empty()) return;
  L0_Var_2 container = L0_Func_add_TabContainer(form);
  for (const L0_Var_2& each : tabs) {
    L0_Var_2 tab = stable(each);
    L0_Var_2 shown = L0_Func_add_Tab(container, valueOf(tab, "caption"));
    shown.setAttr("readOnly", flagOf(tab, "isReadOnly") ? "true" : "false");
    addRows(shown, tab, form);
    addEventHandlers(shown, tab);
  }
}

L0_Var_2 definitionOf(const L0_Var_2& owner) {
  return stable(firstOver(owner, "propertyDiagram", "PropertyDiagram"));
}

bool hasRows(const L0_Var_2& definition) {
  if (definition.isNull()) return false;
  if (!firstOver(definition, "propertyRow", "PropertyRow").isNull()) return true;
  for (const L0_Var_2& tab : partnersOf(definition, "propertyTab", "PropertyTab"))
    if (!firstOver(tab, "propertyRow", "PropertyRow").isNull()) return true;
  return false;
}

// Every component of the form whose row edits compartments of TYPE.
std::vector<L0_Var_2> componentsFor(const L0_Var_2& container, const L0_Var_2& type) {
  std::vector<L0_Var_2> found;
  for (const L0_Var_2& component : gr::dlg::components(container)) {
    L0_Var_2 row = firstOver(component, "propertyRow", "PropertyRow");
    if (!row.isNull() && !isKind(component, "D#Container") && !isKind(component, "D#Button") &&
        firstOver(row, "compartType", "CompartType") == type)
      found.push_back(component);
    for (const L0_Var_2& inner : componentsFor(component, type)) found.push_back(inner);
  }
  return found;
}

std::string rowTypeOf(const L0_Var_2& component) {
  return valueOf(firstOver(component, "propertyRow", "PropertyRow"), "rowType");
}

std::vector<L0_Var_2> textLines(const L0_Var_2& box) {
  std::vector<L0_Var_2> lines;
  for (const L0_Var_2& line : partnersOf(box, "textLine", "D#TextLine"))
    if (valueOf(line, "deleted") != "true") lines.push_back(stable(line));
  return lines;
}

std::vector<L0_Var_2> subCompartments(const L0_Var_2& compartment) {
  std::vector<L0_Var_2> subs;
  for (const L0_Var_2& sub : partnersOf(compartment, "subCompartment", "Compartment"))
    subs.push_back(stable(sub));
  return subs;
}

void fill(L0_Var_2& component, const L0_Var_2& compartment) {
  std::string type = rowTypeOf(component);
  std::string value = valueOf(compartment, "value");
  if (type == "CheckBoxRow") {
    component.setAttr("checked", value == "true" ? "true" : "false");
  } else if (type == "LabelRow") {
    component.setAttr("caption", valueOf(compartment, "input"));
  } else if (type == "MultiLineTextBoxRow+Button") {
    for (L0_Var_2& line : textLines(component)) line.deleteObj();
    for (const L0_Var_2& sub : subCompartments(compartment)) {
      L0_Var_2 line = newObject("D#TextLine");
      setValues(line, {{"text", valueOf(sub, "value")},
                       {"inserted", "false"},
                       {"edited", "false"},
                       {"deleted", "false"}});
      link(line, "multiLineTextBox", component);
    }
  } else {
    component.setAttr("text", value);
  }
  if (!component.checkLink(compartment, "compartment")) {
    L0_Var_2 old = stable(firstOver(component, "compartment", "Compartment"));
    if (!old.isNull()) component.deleteLink(old, "compartment");
    link(component, "compartment", compartment);
  }
  component.setAttr("enabled", flagOf(compartment, "isBlocked") ? "false" : "true");
}

// The compartments of SUBJECT in order, each before its sub-compartments.
void collectCompartments(const L0_Var_2& subject, std::vector<L0_Var_2>& all) {
  const char* role = isKind(subject, "Compartment") ? "subCompartment" : "compartment";
  for (const L0_Var_2& compartment : partnersOf(subject, role, "Compartment")) {
    all.push_back(stable(compartment));
    collectCompartments(stable(compartment), all);
  }
}

L0_Var_2 findCompartment(const L0_Var_2& subject, const L0_Var_2& type) {
  std::vector<L0_Var_2> all;
  collectCompartments(subject, all);
  for (const L0_Var_2& compartment : all)
    if (firstOver(compartment, "compartType", "CompartType") == type) return compartment;
  return L0_Var_2("Compartment");
}

// The types under OWNER in their order, for ordering the compartments made.
std::vector<L0_Var_2> typesOf(const L0_Var_2& owner) {
  const char* role = isKind(owner, "CompartType") ? "subCompartType" : "compartType";
  std::vector<L0_Var_2> types;
  for (const L0_Var_2& type : partnersOf(owner, role, "CompartType")) types.push_back(stable(type));
  return types;
}

// Re-links the compartments of PARENT in the order of their types.
void orderCompartments(L0_Var_2& parent, const L0_Var_2& owner) {
  const char* role = isKind(parent, "Compartment") ? "subCompartment" : "compartment";
  std::vector<L0_Var_2> types = typesOf(owner);
  std::vector<L0_Var_2> compartments;
  for (const L0_Var_2& each : partnersOf(parent, role, "Compartment"))
    compartments.push_back(stable(each));
  auto rank = [&](const L0_Var_2& compartment) {
    L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
    auto at = std::find(types.begin(), types.end(), type);
    return at - types.begin();
  };
  std::vector<L0_Var_2> sorted = compartments;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&](const L0_Var_2& a, const L0_Var_2& b) { return rank(a) < rank(b); });
  if (sorted == compartments) return;
  for (L0_Var_2& each : compartments) parent.deleteLink(each, role);
  for (L0_Var_2& each : sorted) link(parent, role, each);
}

// The compartment of TYPE in SUBJECT, made with its missing parents.
L0_Var_2 compartmentFor(L0_Var_2& subject, const L0_Var_2& type) {
  L0_Var_2 found = findCompartment(subject, type);
  if (!found.isNull()) return found;
  L0_Var_2 parentType = stable(firstOver(type, "parentCompartType", "CompartType"));
  bool inCompartment = isKind(subject, "Compartment");
  L0_Var_2 subjectType = inCompartment ? stable(firstOver(subject, "compartType", "CompartType"))
                                       : L0_Var_2("CompartType");
  L0_Var_2 parent = subject;
  L0_Var_2 owner = inCompartment ? subjectType : stable(firstOver(subject, "elemType", "ElemType"));
  if (!parentType.isNull() && parentType != subjectType) {
    parent = compartmentFor(subject, parentType);
    owner = parentType;
  }
  L0_Var_2 made = stable(L0_Func_create_compartment(parent, type));
  orderCompartments(parent, owner);
  return made;
}

L0_Var_2 elementOf(L0_Var_2 subject) {
  if (isKind(subject, "Element")) return subject;
  return stable(L0_Func_get_compartment_parent_element(subject));
}

void validate(L0_Var_2& component, const L0_Var_2& compartment) {
  std::string reference = valueOf(firstOver(compartment, "compartType", "CompartType"),
                                  "procCheckCompartmentFieldEntered");
  if (reference.empty()) return;
  std::string result = L0_Func_call_compartment_proc_thru_type_returning_string(
      compartment, "procCheckCompartmentFieldEntered");
  component.setAttr("outlineColor", result.empty() ? "536870911" : "255");
  component.setAttr("hint", result);
}

void writeMultiLine(L0_Var_2& box, L0_Var_2& compartment) {
  L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
  L0_Var_2 lineType = stable(firstOver(type, "subCompartType", "CompartType"));
  std::vector<L0_Var_2> lines = textLines(box);
  std::vector<L0_Var_2> subs = subCompartments(compartment);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    L0_Var_2 sub =
        i < subs.size() ? subs[i] : stable(L0_Func_create_compartment(compartment, lineType));
    L0_Func_set_compartment_value(sub, valueOf(lines[i], "text"));
  }
  for (std::size_t i = lines.size(); i < subs.size(); ++i) L0_Func_delete_compartment(subs[i]);
}

void writeBack(L0_Var_2& component) {
  L0_Var_2 row = firstOver(component, "propertyRow", "PropertyRow");
  L0_Var_2 type = stable(firstOver(row, "compartType", "CompartType"));
  L0_Var_2 subject =
      stable(firstOver(formOf(component), "presentationElement", "PresentationElement"));
  if (type.isNull() || subject.isNull()) return;
  L0_Var_2 compartment = compartmentFor(subject, type);
  if (compartment.isNull()) return;
  std::string rowType = valueOf(row, "rowType");
  if (rowType == "MultiLineTextBoxRow+Button") {
    writeMultiLine(component, compartment);
  } else {
    std::string value = rowType == "CheckBoxRow"
                            ? std::string(flagOf(component, "checked") ? "true" : "false")
                            : valueOf(component, "text");
    L0_Func_set_compartment_value(compartment, value);
  }
  if (!component.checkLink(compartment, "compartment")) link(component, "compartment", compartment);
  if (rowType == "InputRow" || rowType == "InputRow+Button") validate(component, compartment);
  L0_Func_okCmd(elementOf(subject));
}

void closeForm(const L0_Var_2& form) {
  if (!form.isNull()) L0_Func_d_cmd(form, "Close");
}

L0_Var_2 eventForm() {
  L0_Var_2 form = firstOver(gr::dlg::currentEvent(), "form", "D#Form");
  return form.isNull() ? formOf(gr::dlg::eventSource()) : stable(form);
}

}  // namespace

// ---- definition side

void L0_Func_fill_row_type_comboBox(L0_Var_2 comboBox) {
  for (const char* rowType : kRowTypes) L0_Func_add_item(comboBox, rowType);
  L0_Var_2 type = gr::dlg::selectedType();
  std::string current = valueOf(rowOf(type), "rowType");
  comboBox.setAttr("text", current);
  for (const L0_Var_2& item : partnersOf(comboBox, "item", "D#Item"))
    if (valueOf(item, "value") == current) {
      link(comboBox, "selected", stable(item));
      break;
    }
}
GR_ENTRY_SIGNATURE(L0_Func_fill_row_type_comboBox)

void L0_Func_update_from_comboBox() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 type = gr::dlg::selectedType();
  if (!combo.isNull() && isKind(type, "CompartType"))
    L0_Func_add_propertyRow_to_propertyDiagram(type, valueOf(combo, "text"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_from_comboBox)

void L0_Func_add_propertyRow_to_propertyDiagram(L0_Var_2 compartType, std::string rowType) {
  compartType = stable(compartType);
  L0_Var_2 old = rowOf(compartType);
  L0_Var_2 oldDialog = dialogOfRow(old);
  std::string tabCaption = valueOf(firstOver(old, "propertyTab", "PropertyTab"), "caption");
  if (!old.isNull()) old.deleteObj();
  if (hasButton(rowType)) {
    L0_Var_2 child = childDialogOf(compartType);
    if (child.isNull()) {
      child = newDialog("Child Diagram");
      link(child, "compartType", compartType);
    }
    gatherSubRows(compartType, child);
  } else {
    L0_Var_2 into = oldDialog.isNull() ? dialogForRowOf(compartType) : oldDialog;
    dissolveChildDialog(compartType, into);
  }
  if (rowType.empty()) {
    if (!oldDialog.isNull() && !hasRows(oldDialog) &&
        firstOver(oldDialog, "propertyTab", "PropertyTab").isNull())
      oldDialog.deleteObj();
    return;
  }
  L0_Var_2 row = L0_Func_add_propertyRow(compartType, rowType);
  if (row.isNull()) return;
  L0_Func_add_multi_level_propertyRow(row, compartType);
  if (!tabCaption.empty()) L0_Func_select_propertyTab(row, tabCaption);
  if (hasButton(rowType)) {
    L0_Var_2 child = childDialogOf(compartType);
    if (!child.isNull()) link(row, "calledDiagram", child);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_add_propertyRow_to_propertyDiagram)

L0_Var_2 L0_Func_add_propertyRow(L0_Var_2 compartType, std::string rowType) {
  L0_Var_2 row = newObject("PropertyRow");
  if (row.isNull()) return row;
  setValues(row, {{"id", rowType},
                  {"rowType", rowType},
                  {"isReadOnly", "false"},
                  {"isEditable", "true"},
                  {"isFirstRespondent", "false"}});
  link(row, "compartType", compartType);
  return row;
}
GR_ENTRY_SIGNATURE(L0_Func_add_propertyRow)

void L0_Func_add_multi_level_propertyRow(L0_Var_2 row, L0_Var_2 compartType) {
  if (valueOf(row, "rowType") == "EmptyRow") return;
  L0_Var_2 dialog = dialogForRowOf(stable(compartType));
  if (dialog.isNull()) {
    gr::showMessageBox("Error in add_multi_level_propertyRow");
    return;
  }
  link(row, "propertyDiagram", dialog);
}
GR_ENTRY_SIGNATURE(L0_Func_add_multi_level_propertyRow)

void L0_Func_fill_tab_comboBox(L0_Var_2 comboBox) {
  L0_Var_2 row = rowOf(gr::dlg::selectedType());
  L0_Var_2 dialog = dialogOfRow(row);
  L0_Func_add_item(comboBox, "");
  for (const L0_Var_2& tab : partnersOf(dialog, "propertyTab", "PropertyTab"))
    L0_Func_add_item(comboBox, valueOf(tab, "caption"));
  comboBox.setAttr("text", valueOf(firstOver(row, "propertyTab", "PropertyTab"), "caption"));
}
GR_ENTRY_SIGNATURE(L0_Func_fill_tab_comboBox)

void L0_Func_add_propertyTab() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 row = rowOf(gr::dlg::selectedType());
  if (combo.isNull() || row.isNull()) {
    gr::showMessageBox("Error in add_propertyTab!");
    finishEvent();
    return;
  }
  L0_Func_select_propertyTab(row, valueOf(combo, "text"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_add_propertyTab)

L0_Var_2 L0_Func_get_propertyTab(L0_Var_2 propertyDiagram, std::string caption,
                                 L0_Var_2 compartType) {
  L0_Var_2 tab = tabWithCaption(propertyDiagram, caption);
  if (!tab.isNull()) return tab;
  tab = newObject("PropertyTab");
  if (tab.isNull()) {
    gr::showMessageBox("Error in get_propertyTab");
    return tab;
  }
  tab.setAttr("caption", caption);
  link(tab, "propertyDiagram", propertyDiagram);
  if (!compartType.isNull()) link(tab, "compartType", compartType);
  return tab;
}
GR_ENTRY_SIGNATURE(L0_Func_get_propertyTab)

void L0_Func_select_propertyTab(L0_Var_2 row, std::string caption) {
  row = stable(row);
  L0_Var_2 dialog = dialogOfRow(row);
  if (dialog.isNull()) {
    gr::showMessageBox("Error in select_propertyTab!");
    return;
  }
  if (caption.empty()) {
    relinkRow(row, dialog, "propertyDiagram");
    return;
  }
  L0_Var_2 tab = L0_Func_get_propertyTab(dialog, caption,
                                         stable(firstOver(row, "compartType", "CompartType")));
  if (!tab.isNull()) relinkRow(row, tab, "propertyTab");
}
GR_ENTRY_SIGNATURE(L0_Func_select_propertyTab)

// ---- the order of a definition's tabs and rows

namespace {

L0_Var_2 orderNode(L0_Var_2 parent, const std::string& text, const L0_Var_2& shown) {
  L0_Var_2 node = L0_Func_add_TreeNode(parent, text);
  link(node, "propertyElement", shown);
  return node;
}

void addRowNodes(L0_Var_2& parent, const L0_Var_2& owner);

void addDialogNodes(L0_Var_2& node, const L0_Var_2& dialog) {
  for (const L0_Var_2& tab : partnersOf(dialog, "propertyTab", "PropertyTab")) {
    L0_Var_2 tabNode = orderNode(node, valueOf(tab, "caption"), stable(tab));
    addRowNodes(tabNode, stable(tab));
  }
  addRowNodes(node, dialog);
}

void addRowNodes(L0_Var_2& parent, const L0_Var_2& owner) {
  for (const L0_Var_2& each : partnersOf(owner, "propertyRow", "PropertyRow")) {
    L0_Var_2 row = stable(each);
    L0_Var_2 rowNode = orderNode(parent, valueOf(row, "id"), row);
    L0_Var_2 called = stable(firstOver(row, "calledDiagram", "PropertyDiagram"));
    if (called.isNull()) continue;
    L0_Var_2 calledNode = orderNode(rowNode, valueOf(called, "id"), called);
    addDialogNodes(calledNode, called);
  }
}

L0_Var_2 shownBy(const L0_Var_2& node) {
  return stable(firstOver(node, "propertyElement", "PropertyElement"));
}

// Links what NODE's children show under OWNER (a dialog, tab or row), in
// the children's order. A node dropped where its kind can not stand (a tab
// under a tab) goes to the nearest place that takes it.
void linkChildren(const L0_Var_2& node, L0_Var_2 owner, L0_Var_2 dialog) {
  for (const L0_Var_2& child : partnersOf(node, "childNode", "D#TreeNode")) {
    L0_Var_2 shown = shownBy(child);
    if (isKind(shown, "PropertyTab")) {
      link(shown, "propertyDiagram", dialog);
      linkChildren(child, shown, dialog);
    } else if (isKind(shown, "PropertyRow")) {
      if (isKind(owner, "PropertyTab"))
        link(shown, "propertyTab", owner);
      else
        link(shown, "propertyDiagram", dialog);
      linkChildren(child, shown, dialog);
    } else if (isKind(shown, "PropertyDiagram") && isKind(owner, "PropertyRow")) {
      link(owner, "calledDiagram", shown);
      linkChildren(child, shown, shown);
    }
  }
}

}  // namespace

void L0_Func_make_property_diagram_order(L0_Var_2 element) {
  element = element.isNull() ? stable(L0_Func_get_active_element()) : stable(element);
  L0_Var_2 form = L0_Func_add_Form("Property Order");
  setValues(form, {{"id", "Property Order"}, {"horizontalAlignment", "-1"}});
  link(form, "presentationElement", element);
  L0_Var_2 tree = L0_Func_add_Tree(form);
  setValues(tree, {{"draggableNodes", "true"}, {"minimumWidth", "220"}, {"minimumHeight", "220"}});
  L0_Func_fill_property_tree(tree, element);
  L0_Var_2 close = L0_Func_add_Button(form, "Close", "Close", "");
  L0_Func_add_d_eventHandler_main(close, "Click", "close_ordered_property");
  link(form, "defaultButton", close);
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_make_property_diagram_order)

void L0_Func_fill_property_tree(L0_Var_2 tree, L0_Var_2 element) {
  L0_Var_2 type = stable(firstOver(element, "target_type", "ElemType"));
  L0_Var_2 dialog = definitionOf(type);
  if (dialog.isNull()) return;
  L0_Var_2 root = orderNode(tree, valueOf(type, "id"), dialog);
  addDialogNodes(root, dialog);
}
GR_ENTRY_SIGNATURE(L0_Func_fill_property_tree)

void L0_Func_clear_property(L0_Var_2 propertyDiagram) {
  L0_Var_2 dialog = stable(propertyDiagram);
  std::vector<L0_Var_2> owners = {dialog};
  for (const L0_Var_2& tab : partnersOf(dialog, "propertyTab", "PropertyTab"))
    owners.push_back(stable(tab));
  for (L0_Var_2& owner : owners)
    for (const L0_Var_2& each : partnersOf(owner, "propertyRow", "PropertyRow")) {
      L0_Var_2 row = stable(each);
      L0_Var_2 called = stable(firstOver(row, "calledDiagram", "PropertyDiagram"));
      if (!called.isNull()) {
        L0_Func_clear_property(called);
        row.deleteLink(called, "calledDiagram");
      }
      owner.deleteLink(row, "propertyRow");
    }
  for (const L0_Var_2& tab : partnersOf(dialog, "propertyTab", "PropertyTab"))
    dialog.deleteLink(stable(tab), "propertyTab");
}
GR_ENTRY_SIGNATURE(L0_Func_clear_property)

void L0_Func_close_ordered_property() {
  L0_Var_2 form = eventForm();
  L0_Var_2 tree = L0_Func_get_component_from_container_by_id(form, "Tree");
  L0_Var_2 root = stable(firstOver(tree, "treeNode", "D#TreeNode"));
  L0_Var_2 dialog = shownBy(root);
  finishEvent();
  if (!dialog.isNull()) {
    L0_Func_clear_property(dialog);
    linkChildren(root, dialog, dialog);
  }
  closeForm(form);
}
GR_ENTRY_SIGNATURE(L0_Func_close_ordered_property)

// ---- the generated dialog

bool L0_Func_has_not_empty_property_diagram(L0_Var_2 owner) {
  return hasRows(definitionOf(owner));
}
GR_ENTRY_SIGNATURE(L0_Func_has_not_empty_property_diagram)

void L0_Func_properties_test(L0_Var_2 element) {
  element = element.isNull() ? stable(L0_Func_get_active_element()) : stable(element);
  L0_Var_2 type = stable(firstOver(element, "elemType", "ElemType"));
  if (!L0_Func_has_not_empty_property_diagram(type)) return;
  L0_Var_2 form = L0_Func_type__generate_property_diagram(type, element);
  if (form.isNull()) return;
  L0_Func_populate_d_form_from_presentationElement(form, element);
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_properties_test)

L0_Var_2 L0_Func_type__generate_property_diagram(L0_Var_2 owner, L0_Var_2 subject) {
  L0_Var_2 definition = definitionOf(owner);
  L0_Var_2 form = newObject("D#Form");
  if (definition.isNull() || form.isNull()) return form;
  setValues(form, {{"id", valueOf(definition, "id")},
                   {"readOnly", flagOf(definition, "isReadOnly") ? "true" : "false"},
                   {"caption", valueOf(owner, "caption") + " Properties"},
                   {"buttonClickOnClose", "true"},
                   {"horizontalAlignment", "2"},
                   {"verticalAlignment", "0"}});
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (flagOf(diagram, "isReadOnly")) form.setAttr("editable", "false");
  if (!valueOf(definition, "height").empty())
    form.setAttr("preferredHeight", valueOf(definition, "height"));
  if (!valueOf(definition, "width").empty())
    form.setAttr("preferredWidth", valueOf(definition, "width"));
  link(form, "presentationElement", subject);
  link(form, "propertyElement", definition);
  addTabs(form, definition);
  addRows(form, definition, form);
  L0_Var_2 buttons = L0_Func_add_horizontalBox(form, "buttons_container");
  setValues(buttons, {{"horizontalAlignment", "1"}, {"maximumHeight", "0"}});
  bool main = isKind(owner, "ElemType");
  L0_Var_2 close = L0_Func_add_Button(buttons, "Close", "Close", "");
  L0_Func_add_d_eventHandler_main(close, "Click",
                                  main ? "ok_properties_test" : "ok_subproperties_test");
  link(form, "defaultButton", close);
  link(form, "cancelButton", close);
  addEventHandlers(form, definition);
  return form;
}
GR_ENTRY_SIGNATURE(L0_Func_type__generate_property_diagram)

void L0_Func_populate_d_form_from_presentationElement(L0_Var_2 form, L0_Var_2 subject) {
  std::vector<L0_Var_2> compartments;
  collectCompartments(subject, compartments);
  for (const L0_Var_2& compartment : compartments) {
    L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
    for (L0_Var_2& component : componentsFor(form, type)) {
      fill(component, compartment);
      std::string rowType = rowTypeOf(component);
      if (rowType == "InputRow" || rowType == "InputRow+Button") validate(component, compartment);
    }
  }
}
GR_ENTRY_SIGNATURE(L0_Func_populate_d_form_from_presentationElement)

void L0_Func_update_presentation() {
  L0_Var_2 component = gr::dlg::eventSource();
  if (!component.isNull()) writeBack(component);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_presentation)

void L0_Func_comboBox_changed() {
  L0_Func_update_presentation();
}
GR_ENTRY_SIGNATURE(L0_Func_comboBox_changed)

void L0_Func_update_comboBox_items() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 type = stable(
      firstOver(firstOver(combo, "propertyRow", "PropertyRow"), "compartType", "CompartType"));
  if (combo.isNull() || type.isNull()) {
    finishEvent();
    return;
  }
  for (const L0_Var_2& item : partnersOf(combo, "item", "D#Item")) stable(item).deleteObj();
  std::vector<std::string> values;
  std::string generator = valueOf(type, "procGenerateItemsClickBox");
  if (!generator.empty()) {
    L0_Var_2 compartment = stable(firstOver(combo, "compartment", "Compartment"));
    std::string text = compartment.isNull()
                           ? std::string()
                           : L0_Func_call_compartment_proc_thru_type_returning_string(
                                 compartment, "procGenerateItemsClickBox");
    std::size_t start = 0;
    for (std::size_t end = text.find('$'); end != std::string::npos;
         start = end + 1, end = text.find('$', start))
      values.push_back(text.substr(start, end - start));
    if (start < text.size()) values.push_back(text.substr(start));
  } else {
    for (const L0_Var_2& choice : partnersOf(type, "choiceItem", "ChoiceItem"))
      values.push_back(valueOf(choice, "value"));
  }
  std::string current = valueOf(combo, "text");
  for (const std::string& value : values) {
    L0_Var_2 item = L0_Func_add_item(combo, value);
    if (value == current) link(combo, "selected", item);
  }
  L0_Func_d_componentRefreshCmd(combo);
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_comboBox_items)

void L0_Func_show_subproperties() {
  L0_Var_2 button = gr::dlg::eventSource();
  L0_Var_2 row = stable(firstOver(button, "propertyRow", "PropertyRow"));
  L0_Var_2 type = stable(firstOver(row, "compartType", "CompartType"));
  L0_Var_2 subject =
      stable(firstOver(formOf(button), "presentationElement", "PresentationElement"));
  finishEvent();
  if (type.isNull() || subject.isNull()) return;
  L0_Var_2 compartment = compartmentFor(subject, type);
  if (valueOf(row, "rowType") == "MultiLineTextBoxRow+Button") {
    std::vector<L0_Var_2> subs = subCompartments(compartment);
    L0_Var_2 lineType = stable(firstOver(type, "subCompartType", "CompartType"));
    compartment =
        subs.empty() ? stable(L0_Func_create_compartment(compartment, lineType)) : subs.back();
    type = lineType;
  }
  if (compartment.isNull() || !L0_Func_has_not_empty_property_diagram(type)) return;
  L0_Var_2 form = L0_Func_type__generate_property_diagram(type, compartment);
  L0_Func_populate_d_form_from_presentationElement(form, compartment);
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_show_subproperties)

void L0_Func_ok_properties_test() {
  L0_Var_2 form = eventForm();
  L0_Var_2 element = stable(firstOver(form, "presentationElement", "Element"));
  finishEvent();
  if (!element.isNull()) L0_Func_call_element_proc_thru_type(element, "procElementEntered");
  closeForm(form);
}
GR_ENTRY_SIGNATURE(L0_Func_ok_properties_test)

void L0_Func_cancel_properties_test() {
  L0_Var_2 form = eventForm();
  finishEvent();
  closeForm(form);
}
GR_ENTRY_SIGNATURE(L0_Func_cancel_properties_test)

void L0_Func_ok_subproperties_test() {
  L0_Func_cancel_properties_test();
}
GR_ENTRY_SIGNATURE(L0_Func_ok_subproperties_test)

void L0_Func_cancel_subproperties_test() {
  L0_Func_cancel_properties_test();
}
GR_ENTRY_SIGNATURE(L0_Func_cancel_subproperties_test)

#include "configurator/Configurator_tables.h"

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
using gr::dlg::finishEvent;
using gr::dlg::onSaveAndDelete;
using gr::dlg::TableRow;

namespace {

L0_Var_2 eventTable() {
  L0_Var_2 source = stable(gr::dlg::eventSource());
  return isKind(source, "D#VTable") ? source : L0_Var_2("D#VTable");
}

// ---- event handlers

// The events a handler of the owner's kind may answer.
const char* eventNamesFor(const L0_Var_2& owner) {
  if (isKind(owner, "CompartType")) return "TestHandler1$TestHandler2$";
  if (isKind(owner, "GraphDiagramType"))
    return "CloseDiagram$OKStyleDialog$RClick$L2Click$ChangeParent$";
  return "L2Click$NewBox$NewLine$Copy$";
}

void showHandlers(L0_Var_2& table, const L0_Var_2& owner) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& handler : partnersOf(owner, "eventHandler", "EventHandler"))
    rows.push_back({valueOf(handler, "eventName"), valueOf(handler, "transformationName")});
  gr::dlg::setRows(table, rows);
}

void addHandlerTable(L0_Var_2& tab, const L0_Var_2& owner, const char* saver) {
  L0_Func_delete_container_components(tab);
  L0_Func_add_label(tab, "Hanlder");
  L0_Var_2 table =
      gr::dlg::newTable(tab, "Handler", "AddEventHandler", "DeleteEventHandler", 300, 120);
  L0_Var_2 type = gr::dlg::tableType(table);
  L0_Var_2 names =
      L0_Func_add_ColumnType_ComboBox_with_items(type, "EventName", eventNamesFor(owner));
  names.setAttr("editable", "true");
  L0_Func_add_ColumnType_TextBox(type, "TransformationName");
  onSaveAndDelete(table, saver);
  showHandlers(table, owner);
}

L0_Var_2 currentDefinedType() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 defined = stable(firstOver(diagram, "target_type", "GraphDiagramType"));
  return defined.isNull() ? stable(firstOver(diagram, "graphDiagramType", "GraphDiagramType"))
                          : defined;
}

void saveHandlers(const L0_Var_2& owner, const char* failure) {
  L0_Var_2 table = eventTable();
  if (table.isNull() || owner.isNull()) {
    gr::showMessageBox(failure);
    finishEvent();
    return;
  }
  L0_Func_add_handler(table, owner);
  showHandlers(table, owner);
  finishEvent();
}

// ---- mappings

struct MappingTable {
  const char* className;
  const char* caption;
  const char* insertCaption;
  const char* deleteCaption;
  const char* saver;
  // column caption -> attribute
  std::vector<std::pair<const char*, const char*>> columns;
};

const std::vector<MappingTable>& mappingTables() {
  static const std::vector<MappingTable> tables = {
      {"Mapping#MappingToObject",
       "MappingToObject",
       "AddMappingToObject",
       "DeleteMappingToObject",
       "update_mappingToObject",
       {{"MappingToObject", "objectType"}, {"RoleInDomain", "roleName"}}},
      {"Mapping#MappingToLink",
       "MappingToLink",
       "AddMappingToLink",
       "DeleteMappingToLink",
       "update_mappingToLink",
       {{"NavigationToStartObject", "pathToStartObject"},
        {"NavigationToEndObject", "pathToEndObject"},
        {"StartRole", "endRoleName"}}},
      {"Mapping#MappingToAttribute",
       "MappingToAttribute",
       "AddMappingToAttribute",
       "DeleteMappingToAttribute",
       "update_mappingToAttribute",
       {{"NavigationToObject", "pathToObject"}, {"AttributeName", "attributeName"}}}};
  return tables;
}

L0_Var_2 mappingOf(const L0_Var_2& type) {
  return stable(firstOver(type, "mapping", "Mapping#Mapping"));
}

std::vector<L0_Var_2> itemsOfClass(const L0_Var_2& mapping, const std::string& className) {
  std::vector<L0_Var_2> items;
  for (const L0_Var_2& item : partnersOf(mapping, "mappingItem", "Mapping#MappingItem"))
    if (getClassName(item) == className) items.push_back(stable(item));
  return items;
}

void showMappings(L0_Var_2& table, const L0_Var_2& type, const MappingTable& spec) {
  std::vector<std::vector<std::string>> rows;
  for (const L0_Var_2& item : itemsOfClass(mappingOf(type), spec.className)) {
    std::vector<std::string> cells;
    for (const auto& [caption, attribute] : spec.columns) cells.push_back(valueOf(item, attribute));
    rows.push_back(cells);
  }
  gr::dlg::setRows(table, rows);
}

// The selected type's mapping items of the table's class anew from its rows.
void saveMappings(const char* className, const char* failure) {
  L0_Var_2 table = eventTable();
  L0_Var_2 type = stable(gr::dlg::selectedType());
  const MappingTable* spec = nullptr;
  for (const MappingTable& each : mappingTables())
    if (std::string(each.className) == className) spec = &each;
  if (table.isNull() || type.isNull() || !spec) {
    gr::showMessageBox(failure);
    finishEvent();
    return;
  }
  L0_Var_2 mapping = mappingOf(type);
  if (mapping.isNull()) {
    mapping = newObject("Mapping#Mapping");
    link(type, "mapping", mapping);
  }
  for (L0_Var_2& item : itemsOfClass(mapping, className)) item.deleteObj();
  for (const TableRow& row : gr::dlg::liveRows(table)) {
    bool empty = true;
    for (const auto& [caption, attribute] : spec->columns) empty = empty && row.at(caption).empty();
    if (empty) continue;
    L0_Var_2 item = newObject(className);
    for (const auto& [caption, attribute] : spec->columns) item.setAttr(attribute, row.at(caption));
    link(mapping, "mappingItem", item);
  }
  showMappings(table, type, *spec);
  finishEvent();
}

// ---- the diagram engine's handlers

const char* const kEngineEvents[] = {"onPopUpElemSelectEvent",
                                     "onToolSelectEvent",
                                     "onPasteGraphClipboardEvent",
                                     "onCopyCutCollectionEvent",
                                     "onCopyCollectionEvent",
                                     "onMoveLineStartPointEvent",
                                     "onMoveLineEndPointEvent",
                                     "onL2ClickEvent",
                                     "onLClickEvent",
                                     "onRClickEvent",
                                     "onNewLineEvent",
                                     "onNewBoxEvent",
                                     "onExecTransfEvent",
                                     "onNewPinEvent",
                                     "onChangeParentEvent",
                                     "onOpenDgrEvent",
                                     "onCloseDgrEvent",
                                     "onOKStyleDialogEvent",
                                     "onKeyDownEvent",
                                     "onNewFreeBoxEvent",
                                     "onNewFreeLineEvent",
                                     "onFreeBoxEditedEvent",
                                     "onFreeLineEditedEvent"};

}  // namespace

// ---- event handlers

void L0_Func_make_handler_tab(L0_Var_2 tab) {
  L0_Var_2 type = stable(gr::dlg::selectedType());
  if (tab.isNull() || type.isNull()) {
    gr::showMessageBox("Error in make_handler_tab");
    return;
  }
  addHandlerTable(tab, type, "update_elemType_handler");
}
GR_ENTRY_SIGNATURE(L0_Func_make_handler_tab)

void L0_Func_make_diagram_handler_tab(L0_Var_2 tab) {
  L0_Var_2 type = currentDefinedType();
  if (tab.isNull() || type.isNull()) {
    gr::showMessageBox("Error in make_handler_tab");
    return;
  }
  addHandlerTable(tab, type, "update_graphDiagramType_handler");
}
GR_ENTRY_SIGNATURE(L0_Func_make_diagram_handler_tab)

void L0_Func_update_elemType_handler() {
  saveHandlers(stable(gr::dlg::selectedType()), "Error in update_elemType_handler");
}
GR_ENTRY_SIGNATURE(L0_Func_update_elemType_handler)

void L0_Func_update_graphDiagramType_handler() {
  saveHandlers(currentDefinedType(), "Error in update_graphDiagramType_handler");
}
GR_ENTRY_SIGNATURE(L0_Func_update_graphDiagramType_handler)

void L0_Func_add_handler(L0_Var_2 table, L0_Var_2 owner) {
  owner = stable(owner);
  if (table.isNull() || owner.isNull()) {
    gr::showMessageBox("Error in add_handler");
    return;
  }
  for (L0_Var_2& handler : stablePartners(owner, "eventHandler", "EventHandler"))
    handler.deleteObj();
  for (const TableRow& row : gr::dlg::liveRows(table)) {
    if (row.at("EventName").empty() && row.at("TransformationName").empty()) continue;
    L0_Var_2 handler = newObject("EventHandler");
    setValues(handler, {{"eventName", row.at("EventName")},
                        {"transformationName", row.at("TransformationName")}});
    link(owner, "eventHandler", handler);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_add_handler)

// ---- mappings

void L0_Func_make_mapping_tab(L0_Var_2 tab) {
  L0_Var_2 type = stable(gr::dlg::selectedType());
  if (tab.isNull() || type.isNull()) {
    gr::showMessageBox("Error in fill_Mapping_Table");
    return;
  }
  L0_Func_delete_container_components(tab);
  for (const MappingTable& spec : mappingTables()) {
    L0_Func_add_label(tab, spec.caption);
    L0_Var_2 table =
        gr::dlg::newTable(tab, spec.caption, spec.insertCaption, spec.deleteCaption, 300, 80);
    for (const auto& [caption, attribute] : spec.columns)
      L0_Func_add_ColumnType_TextBox(gr::dlg::tableType(table), caption);
    onSaveAndDelete(table, spec.saver);
    showMappings(table, type, spec);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_make_mapping_tab)

void L0_Func_update_mappingToObject() {
  saveMappings("Mapping#MappingToObject", "Error in update_mappingToObject");
}
GR_ENTRY_SIGNATURE(L0_Func_update_mappingToObject)

void L0_Func_update_mappingToLink() {
  saveMappings("Mapping#MappingToLink", "Error in update_mappingToLink");
}
GR_ENTRY_SIGNATURE(L0_Func_update_mappingToLink)

void L0_Func_update_mappingToAttribute() {
  saveMappings("Mapping#MappingToAttribute", "Error in update_mappingToAttribute");
}
GR_ENTRY_SIGNATURE(L0_Func_update_mappingToAttribute)

// ---- tagged values

// The form lists tag declarations for the user to fill in; nothing reads
// them back into the model.
void L0_Func_add_tagged_values_() {
  L0_Var_2 form = L0_Func_add_Form("Add Tagged Values");
  setValues(form, {{"id", "Tag"}, {"minimumWidth", "500"}, {"minimumHeight", "100"}});
  L0_Var_2 table = gr::dlg::newTable(form, "Tag", "AddElement", "DeleteElement", 500, 100);
  L0_Var_2 type = gr::dlg::tableType(table);
  L0_Func_add_ColumnType_TextBox(type, "Name");
  L0_Func_add_ColumnType_ComboBox_with_items(type, "Row Type", "InputRow$CheckBoxRow$ComboBoxRow$");
  L0_Func_add_ColumnType_TextBox(type, "Transformation");
  L0_Var_2 close = L0_Func_add_Button(form, "Tag", "Close", "");
  L0_Func_add_d_eventHandler_main(close, "Click", "close_tag_form");
  link(form, "defaultButton", close);
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_add_tagged_values_)

void L0_Func_close_tag_form() {
  L0_Func_close_form();
}
GR_ENTRY_SIGNATURE(L0_Func_close_tag_form)

// ---- the diagram engine

void L0_Func_edit_graph_diagram_engine() {
  L0_Var_2 engine = gr::firstOf("GraphDiagramEngine");
  if (engine.isNull()) {
    gr::showMessageBox("Error in edit_graph_diagram_engine");
    return;
  }
  L0_Var_2 form = L0_Func_add_Form("Graph Diagram Engine");
  setValues(form, {{"id", "Graph Diagram Engine"}});
  for (const char* attribute : kEngineEvents)
    L0_Func_add_Row_void_properties(form, attribute, attribute, valueOf(engine, attribute),
                                    "update_gde_form_inputField");
  L0_Var_2 close = L0_Func_add_Button(form, "Close", "Close", "");
  L0_Func_add_d_eventHandler_main(close, "Click", "close_form");
  link(form, "defaultButton", close);
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_edit_graph_diagram_engine)

void L0_Func_update_gde_form_inputField() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 engine = gr::firstOf("GraphDiagramEngine");
  std::string attribute = valueOf(field, "id");
  bool known = false;
  for (const char* each : kEngineEvents) known = known || attribute == each;
  if (field.isNull() || engine.isNull() || !known)
    gr::showMessageBox("Error in update_gde_form_inputField");
  else
    engine.setAttr(attribute, valueOf(field, "text"));
  finishEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_update_gde_form_inputField)

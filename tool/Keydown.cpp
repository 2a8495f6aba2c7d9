// Keys: the console key, the script key, and the key shortcuts of the
// element type or diagram type, chosen by how many elements are selected.
// Also the path-expression console.
#include <sstream>

#include "configurator/Dialog_utilities.h"
#include "runtime/Lpath.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_KeyDown();
L0_TRANSFORMATION void L0_Func_display_console();
L0_TRANSFORMATION L0_Var_2 L0_Func_generate_console();
L0_TRANSFORMATION void L0_Func_eval_console_input();
L0_TRANSFORMATION void L0_Func_show_lpath_result(L0_Var_2 result);
L0_TRANSFORMATION void L0_Func_close_active_form();

using gr::firstOver;

namespace {

const char* const kConsoleKey = "`";
const char* const kScriptKey = "L";

// The shortcut for the key: of the one selected element's type, else of the
// diagram type for an empty or a multiple selection.
L0_Var_2 shortcutFor(const std::string& key) {
  L0_Var_2 diagram = firstOver(gr::firstOf("CurrentDgrPointer"), "graphDiagram", "GraphDiagram");
  L0_Var_2 collection = firstOver(diagram, "collection", "Collection");
  if (collection.isNull()) return L0_Var_2("KeyboardShortcut");
  L0_Var_2 selected("Element");
  int count = 0;
  L0_Var_2 scan("Element");
  for (bool found = scan.setFirstByRelation(collection, "element"); found && count < 2;
       found = scan.next(), ++count)
    if (count == 0) selected = scan;
  std::string predicate = "[@key='" + key + "']";
  if (count == 1) return L0_Func_eval_path_exp(selected, "elemType/keyboardShortcut" + predicate);
  const char* role = count == 0 ? "eKeyboardShortcut" : "cKeyboardShortcut";
  return L0_Func_eval_path_exp(diagram, std::string("graphDiagramType/") + role + predicate);
}

void runShortcut(const L0_Var_2& shortcut) {
  std::string procedure = shortcut.getAttrOfActualClass("procedure_name");
  if (procedure.empty()) return;
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(procedure, library, entry);
  if (library == "lua")
    L0_Func_Lua_dofile(entry);
  else
    executeObjectFunction(library, entry, L0_Func_get_active_element());
}

L0_Var_2 newComponent(const std::string& className, L0_Var_2& container) {
  L0_Var_2 component("D#Component");
  component.addObj(className);
  container.addLink(component, "component");
  return component;
}

}  // namespace

void L0_Func_KeyDown() {
  L0_Var_2 event = gr::firstOf("KeyDownEvent");
  if (!event.isNull()) {
    std::string key = event.getAttr("info");
    if (key == kConsoleKey) L0_Func_display_console();
    if (key == kScriptKey) L0_Func_Lua_dofile("main.lua");
    L0_Var_2 shortcut = shortcutFor(key);
    if (!shortcut.isNull()) runShortcut(shortcut);
  }
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_KeyDown)

// ---- the console

void L0_Func_display_console() {
  L0_Var_2 form = L0_Func_generate_console();
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_display_console)

L0_Var_2 L0_Func_generate_console() {
  L0_Var_2 form("D#Form");
  form.addObj("D#Form");
  form.setAttr("id", "Console");
  form.setAttr("caption", "Console");
  form.setAttr("buttonClickOnClose", true);
  form.setAttr("horizontalAlignment", -1);
  form.setAttr("verticalAlignment", 0);
  L0_Var_2 input = newComponent("D#TextArea", form);
  input.setAttr("id", "input");
  input.setAttr("text", "");
  input.setAttr("editable", true);
  input.setAttr("minimumHeight", 50);
  input.setAttr("minimumWidth", 100);
  L0_Var_2 buttons = newComponent("D#HorizontalBox", form);
  buttons.setAttr("horizontalAlignment", 1);
  L0_Var_2 evaluate = newComponent("D#Button", buttons);
  evaluate.setAttr("caption", "Evaluate");
  form.addLink(evaluate, "defaultButton");
  L0_Func_add_d_eventHandler_main(evaluate, "Click", "eval_console_input");
  L0_Var_2 exit = newComponent("D#Button", buttons);
  exit.setAttr("caption", "Exit");
  form.addLink(exit, "cancelButton");
  L0_Func_add_d_eventHandler_main(exit, "Click", "close_active_form");
  return form;
}
GR_ENTRY_SIGNATURE(L0_Func_generate_console)

void L0_Func_eval_console_input() {
  L0_Var_2 input = firstOver(gr::firstOf("D#Form"), "component", "D#Component");
  L0_Var_2 active = L0_Func_get_active_element();
  std::stringstream lines(input.isNull() ? "" : input.getAttrOfActualClass("text"));
  for (std::string line; std::getline(lines, line);)
    L0_Func_show_lpath_result(L0_Func_eval_expression(active, line));
}
GR_ENTRY_SIGNATURE(L0_Func_eval_console_input)

void L0_Func_show_lpath_result(L0_Var_2 result) {
  L0_Func_show_instance(result);
}
GR_ENTRY_SIGNATURE(L0_Func_show_lpath_result)

void L0_Func_close_active_form() {
  L0_Func_d_cmd(gr::firstOf("D#Form"), "Close");
}
GR_ENTRY_SIGNATURE(L0_Func_close_active_form)

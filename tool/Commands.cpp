#include "tool/Commands.h"

#include "tool/Utilities.h"

using gr::firstOver;

namespace {

L0_Var_2 newCommand(const std::string& className) {
  L0_Var_2 command("Command");
  command.addObj(className);
  return command;
}

L0_Var_2 diagramOf(const L0_Var_2& element) {
  return firstOver(element, "graphDiagram", "GraphDiagram");
}

bool firstCommandIs(const L0_Var_2& diagram, const std::string& className) {
  L0_Var_2 first = firstOver(diagram, "command", "Command");
  return !first.isNull() && first.isTypeOf(className);
}

// An element command needs the element's diagram.
void elementCommand(const std::string& className, L0_Var_2& element, const char* missingDiagram,
                    const std::string* info = nullptr) {
  L0_Var_2 diagram = diagramOf(element);
  if (diagram.isNull()) {
    gr::showMessageBox(missingDiagram);
    return;
  }
  L0_Var_2 command = newCommand(className);
  if (info) command.setAttr("info", *info);
  command.addLink(element, "element");
  command.addLink(diagram, "graphDiagram");
  L0_Func_add_Command(command);
}

void diagramCommand(const std::string& className, L0_Var_2& diagram) {
  L0_Var_2 command = newCommand(className);
  if (!diagram.isNull()) command.addLink(diagram, "graphDiagram");
  L0_Func_add_Command(command);
}

// A command about OBJECT shown over the current diagram.
void currentDiagramCommand(const std::string& className, L0_Var_2& object, const char* role) {
  L0_Var_2 command = newCommand(className);
  command.addLink(object, role);
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (!diagram.isNull()) command.addLink(diagram, "graphDiagram");
  L0_Func_add_Command(command);
}

void dialogCommand(L0_Var_2& component, const std::string& word) {
  if (component.isNull()) return;
  L0_Var_2 command = newCommand("D#Command");
  command.setAttr("info", word);
  command.addLink(component, "receiver");
  L0_Func_add_Command(command);
}

void treeCommand(const std::string& className, L0_Var_2& tree, L0_Var_2& treeNode) {
  L0_Var_2 command = newCommand(className);
  command.addLink(tree, "receiver");
  command.addLink(treeNode, "treeNode");
  L0_Func_add_Command(command);
}

}  // namespace

void L0_Func_okCmd(L0_Var_2 element) {
  L0_Var_2 command = newCommand("OkCmd");
  command.addLink(element, "element");
  L0_Var_2 diagram = diagramOf(element);
  if (!diagram.isNull()) command.addLink(diagram, "graphDiagram");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_okCmd)

void L0_Func_okCmd_graphDiagram(L0_Var_2 diagram) {
  if (firstCommandIs(diagram, "OkCmd")) return;
  diagramCommand("OkCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_okCmd_graphDiagram)

void L0_Func_activeElementCmd(L0_Var_2 element) {
  elementCommand("ActiveElementCmd", element, "activeElementCmd on element without diagram");
}
GR_ENTRY_SIGNATURE(L0_Func_activeElementCmd)

void L0_Func_defaultStyleCmd(L0_Var_2 element) {
  elementCommand("DefaultStyleCmd", element, "defaultStyleCmd on element without diagram");
}
GR_ENTRY_SIGNATURE(L0_Func_defaultStyleCmd)

void L0_Func_styleDialogCmd(L0_Var_2 element, std::string info) {
  elementCommand("StyleDialogCmd", element, "styleDialogCmd on element without diagram", &info);
}
GR_ENTRY_SIGNATURE(L0_Func_styleDialogCmd)

// Pastes into one diagram gather in one command while nothing else is queued.
void L0_Func_pasteCmd(L0_Var_2 element, L0_Var_2 diagram) {
  L0_Var_2 last = L0_Func_get_last_cmd();
  if (!last.isNull() && last.isTypeOf("PasteCmd") && last.checkLink(diagram, "graphDiagram")) {
    last.addLink(element, "element");
    return;
  }
  L0_Var_2 command = newCommand("PasteCmd");
  command.addLink(element, "element");
  command.addLink(diagram, "graphDiagram");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_pasteCmd)

void L0_Func_popUpCmd(L0_Var_2 popUpDiagram) {
  currentDiagramCommand("PopUpCmd", popUpDiagram, "popUpDiagram");
}
GR_ENTRY_SIGNATURE(L0_Func_popUpCmd)

void L0_Func_propertyDgrCmd(L0_Var_2 propertyDiagram) {
  currentDiagramCommand("PropertyDgrCmd", propertyDiagram, "propertyDiagram");
}
GR_ENTRY_SIGNATURE(L0_Func_propertyDgrCmd)

void L0_Func_activeDgrCmd(L0_Var_2 diagram) {
  if (diagram.isNull()) return;
  diagramCommand(gr::flag(diagram, "isReadOnly") ? "ActiveDgrViewCmd" : "ActiveDgrCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_activeDgrCmd)

void L0_Func_closeDgrCmd(L0_Var_2 diagram) {
  if (diagram.isNull() || firstCommandIs(diagram, "CloseDgrCmd")) return;
  diagramCommand("CloseDgrCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_closeDgrCmd)

void L0_Func_updateDgrCmd(L0_Var_2 diagram) {
  diagramCommand("UpdateDgrCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_updateDgrCmd)
void L0_Func_saveDgrCmd(L0_Var_2 diagram) {
  diagramCommand("SaveDgrCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_saveDgrCmd)
void L0_Func_afterConfigCmd(L0_Var_2 diagram) {
  diagramCommand("AfterConfigCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_afterConfigCmd)
void L0_Func_saveStylesCmd(L0_Var_2 diagram) {
  diagramCommand("SaveStylesCmd", diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_saveStylesCmd)

void L0_Func_execTransfCmd(L0_Var_2 diagram, std::string transformation) {
  L0_Var_2 command = newCommand("ExecTransfCmd");
  command.setAttr("info", transformation);
  if (!diagram.isNull()) command.addLink(diagram, "graphDiagram");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_execTransfCmd)

void L0_Func_execTransfCmd_withoutDiagram(std::string transformation) {
  L0_Var_2 command = newCommand("ExecTransfCmd");
  command.setAttr("info", transformation);
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_execTransfCmd_withoutDiagram)

void L0_Func_ShowInformationBarCommand(std::string message) {
  L0_Var_2 command = newCommand("ShowInformationBarCommand");
  command.setAttr("message", message);
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_ShowInformationBarCommand)

void L0_Func_HideInformationBarCommand() {
  L0_Var_2 command = newCommand("HideInformationBarCommand");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_HideInformationBarCommand)

void L0_Func_d_cmd(L0_Var_2 component, std::string word) {
  dialogCommand(component, word);
}
GR_ENTRY_SIGNATURE(L0_Func_d_cmd)
void L0_Func_d_componentCmd(L0_Var_2 component, std::string word) {
  dialogCommand(component, word);
}
GR_ENTRY_SIGNATURE(L0_Func_d_componentCmd)

void L0_Func_printCmd(L0_Var_2 component, std::string word) {
  L0_Var_2 command = newCommand("D#Command");
  command.setAttr("info", word);
  if (!component.isNull()) command.addLink(component, "receiver");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_printCmd)

void L0_Func_d_componentRefreshCmd(L0_Var_2 component) {
  dialogCommand(component, "Refresh");
}
GR_ENTRY_SIGNATURE(L0_Func_d_componentRefreshCmd)

void L0_Func_d_componentDeleteTreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode, std::string word) {
  L0_Var_2 command = newCommand("D#DeleteTreeNodeCmd");
  command.setAttr("info", word);
  command.addLink(treeNode, "treeNode");
  command.addLink(tree, "receiver");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_d_componentDeleteTreeNodeCmd)

void L0_Func_add_TreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode) {
  treeCommand("D#AddTreeNodeCmd", tree, treeNode);
}
GR_ENTRY_SIGNATURE(L0_Func_add_TreeNodeCmd)
void L0_Func_add_SelectTreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode) {
  treeCommand("D#SelectTreeNodeCmd", tree, treeNode);
}
GR_ENTRY_SIGNATURE(L0_Func_add_SelectTreeNodeCmd)
void L0_Func_select_TreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode) {
  treeCommand("D#SelectTreeNodeCmd", tree, treeNode);
}
GR_ENTRY_SIGNATURE(L0_Func_select_TreeNodeCmd)

void L0_Func_add_child_TreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode) {
  L0_Var_2 parent = firstOver(tree, "selected", "D#TreeNode");
  if (parent.isNull()) return;
  L0_Var_2 command = newCommand("D#AddTreeNodeCmd");
  command.addLink(tree, "receiver");
  command.addLink(treeNode, "treeNode");
  command.addLink(parent, "parent");
  L0_Func_add_Command(command);
}
GR_ENTRY_SIGNATURE(L0_Func_add_child_TreeNodeCmd)

// ---- the queue

void L0_Func_add_Command(L0_Var_2 command) {
  L0_Func_set_last_cmd_to(command);
  Kw_Galva_EnqueueCmd();
}
GR_ENTRY_SIGNATURE(L0_Func_add_Command)

L0_Var_2 L0_Func_get_lastCmdPtr() {
  return gr::firstOrNew("LastCmdPtr");
}
GR_ENTRY_SIGNATURE(L0_Func_get_lastCmdPtr)

void L0_Func_set_last_cmd_to(L0_Var_2 command) {
  L0_Var_2 pointer = L0_Func_get_lastCmdPtr();
  pointer.addLink(command, "command");
}
GR_ENTRY_SIGNATURE(L0_Func_set_last_cmd_to)

L0_Var_2 L0_Func_get_last_cmd() {
  L0_Var_2 last("Command");
  L0_Var_2 scan = firstOver(gr::firstOf("LastCmdPtr"), "command", "Command");
  for (bool found = !scan.isNull(); found; found = scan.next()) last = scan;
  return last;
}
GR_ENTRY_SIGNATURE(L0_Func_get_last_cmd)

void L0_Func_display_enquedCmd(L0_Var_2 command) {
  std::string text = "Ierindota komanda :" + getClassName(command);
  std::string info = command.getAttrOfActualClass("info");
  if (!info.empty()) text += "\ninfo =" + info;
  gr::showMessageBox(text);
}
GR_ENTRY_SIGNATURE(L0_Func_display_enquedCmd)

// ---- transformation references

void L0_Func_decode_function_and_dll_name(std::string reference, std::string& library,
                                          std::string& entry) {
  std::size_t hash = reference.find('#');
  std::string before = reference.substr(0, hash);
  std::string rest = hash == std::string::npos ? "" : reference.substr(hash + 1);
  if (rest.empty()) {
    library = "main.dll";
    entry = "_L0_Func_" + before;
  } else if (before == "lua") {
    library = "lua";
    entry = rest;
  } else {
    library = before + ".dll";
    entry = "_L0_Func_" + rest;
  }
}
GR_ENTRY_SIGNATURE(L0_Func_decode_function_and_dll_name)

namespace gr {

std::string procedureOfType(const L0_Var_2& type, const std::string& attribute) {
  for (L0_Var_2 t = type; !t.isNull(); t = firstOver(t, "supertype", "ElemType")) {
    std::string reference = t.getAttrOfActualClass(attribute);
    if (!reference.empty()) return reference;
  }
  return "";
}

void runReference(const std::string& reference, const L0_Var_2& object) {
  if (reference.empty()) return;
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(reference, library, entry);
  if (library == "lua")
    L0_Func_Lua_dofile(entry);
  else
    executeObjectFunction(library, entry, object);
}

void runVoidReference(const std::string& reference) {
  if (reference.empty()) return;
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(reference, library, entry);
  if (library == "lua")
    L0_Func_Lua_dofile(entry);
  else
    executeVoidFunction(library, entry);
}

}  // namespace gr

void L0_Func_call_element_proc_thru_type(L0_Var_2 element, std::string attribute) {
  L0_Func_call_elemType_proc_with_supertypes(firstOver(element, "elemType", "ElemType"), attribute,
                                             element);
}
GR_ENTRY_SIGNATURE(L0_Func_call_element_proc_thru_type)

void L0_Func_call_elemType_proc_with_supertypes(L0_Var_2 type, std::string attribute,
                                                L0_Var_2 element) {
  gr::runReference(gr::procedureOfType(type, attribute), element);
}
GR_ENTRY_SIGNATURE(L0_Func_call_elemType_proc_with_supertypes)

void L0_Func_call_elemType_3_pointer_proc_with_supertypes(L0_Var_2 type, std::string attribute,
                                                          L0_Var_2 first, L0_Var_2 second,
                                                          L0_Var_2 third) {
  std::string reference = gr::procedureOfType(type, attribute);
  if (reference.empty()) return;
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(reference, library, entry);
  if (library == "lua")
    L0_Func_Lua_dofile(entry);
  else
    executeThreeObjectFunction(library, entry, first, second, third);
}
GR_ENTRY_SIGNATURE(L0_Func_call_elemType_3_pointer_proc_with_supertypes)

namespace {
std::string compartmentProcedure(const L0_Var_2& compartment, const std::string& attribute) {
  L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
  return type.isNull() ? "" : type.getAttrOfActualClass(attribute);
}
}  // namespace

void L0_Func_call_compartment_proc_thru_type(L0_Var_2 compartment, std::string attribute) {
  gr::runReference(compartmentProcedure(compartment, attribute), compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_call_compartment_proc_thru_type)

std::string L0_Func_call_compartment_proc_thru_type_returning_string(L0_Var_2 compartment,
                                                                     std::string attribute) {
  std::string reference = compartmentProcedure(compartment, attribute);
  if (reference.empty()) return "";
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(reference, library, entry);
  return executeStringFunction(library, entry, compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_call_compartment_proc_thru_type_returning_string)

bool L0_Func_call_compartment_proc_thru_type_returning_boolean(L0_Var_2 compartment,
                                                               std::string attribute) {
  std::string reference = compartmentProcedure(compartment, attribute);
  if (reference.empty()) return false;
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(reference, library, entry);
  return executeBooleanFunction(library, entry, compartment);
}
GR_ENTRY_SIGNATURE(L0_Func_call_compartment_proc_thru_type_returning_boolean)

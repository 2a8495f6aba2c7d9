// Commands to the engines: a transformation never draws; it creates a command
// object, links it to what it concerns and queues it with the head engine.
// Also the transformation references by which types, menus, tools, keys and
// buttons name the transformations to run.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_okCmd(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_okCmd_graphDiagram(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_activeElementCmd(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_defaultStyleCmd(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_styleDialogCmd(L0_Var_2 element, std::string info);
L0_TRANSFORMATION void L0_Func_pasteCmd(L0_Var_2 element, L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_popUpCmd(L0_Var_2 popUpDiagram);
L0_TRANSFORMATION void L0_Func_propertyDgrCmd(L0_Var_2 propertyDiagram);
L0_TRANSFORMATION void L0_Func_activeDgrCmd(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_closeDgrCmd(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_updateDgrCmd(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_saveDgrCmd(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_afterConfigCmd(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_saveStylesCmd(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_execTransfCmd(L0_Var_2 diagram, std::string transformation);
L0_TRANSFORMATION void L0_Func_execTransfCmd_withoutDiagram(std::string transformation);
L0_TRANSFORMATION void L0_Func_ShowInformationBarCommand(std::string message);
L0_TRANSFORMATION void L0_Func_HideInformationBarCommand();
L0_TRANSFORMATION void L0_Func_d_cmd(L0_Var_2 component, std::string word);
L0_TRANSFORMATION void L0_Func_d_componentCmd(L0_Var_2 component, std::string word);
L0_TRANSFORMATION void L0_Func_printCmd(L0_Var_2 component, std::string word);
L0_TRANSFORMATION void L0_Func_d_componentRefreshCmd(L0_Var_2 component);
L0_TRANSFORMATION void L0_Func_d_componentDeleteTreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode,
                                                            std::string word);
L0_TRANSFORMATION void L0_Func_add_TreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode);
L0_TRANSFORMATION void L0_Func_add_SelectTreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode);
L0_TRANSFORMATION void L0_Func_select_TreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode);
L0_TRANSFORMATION void L0_Func_add_child_TreeNodeCmd(L0_Var_2 tree, L0_Var_2 treeNode);

// ---- the queue
L0_TRANSFORMATION void L0_Func_add_Command(L0_Var_2 command);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_lastCmdPtr();
L0_TRANSFORMATION void L0_Func_set_last_cmd_to(L0_Var_2 command);
// The command most recently queued, or null.
L0_TRANSFORMATION L0_Var_2 L0_Func_get_last_cmd();
L0_TRANSFORMATION void L0_Func_display_enquedCmd(L0_Var_2 command);

// ---- transformation references
// "lib#name" -> "lib.dll", "_L0_Func_name"; a bare "name" -> "main.dll",
// "_L0_Func_name"; "lua#script" -> "lua", "script".
L0_TRANSFORMATION void L0_Func_decode_function_and_dll_name(std::string reference,
                                                            std::string& library,
                                                            std::string& entry);
L0_TRANSFORMATION void L0_Func_call_element_proc_thru_type(L0_Var_2 element, std::string attribute);
L0_TRANSFORMATION void L0_Func_call_elemType_proc_with_supertypes(L0_Var_2 type,
                                                                  std::string attribute,
                                                                  L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_call_elemType_3_pointer_proc_with_supertypes(
    L0_Var_2 type, std::string attribute, L0_Var_2 first, L0_Var_2 second, L0_Var_2 third);
L0_TRANSFORMATION void L0_Func_call_compartment_proc_thru_type(L0_Var_2 compartment,
                                                               std::string attribute);
L0_TRANSFORMATION std::string L0_Func_call_compartment_proc_thru_type_returning_string(
    L0_Var_2 compartment, std::string attribute);
L0_TRANSFORMATION bool L0_Func_call_compartment_proc_thru_type_returning_boolean(
    L0_Var_2 compartment, std::string attribute);

namespace gr {
// The procedure reference named by ATTRIBUTE on the type or, when empty
// there, on its nearest supertype.
std::string procedureOfType(const L0_Var_2& type, const std::string& attribute);
// Runs a reference with one object argument ("lua" references run a script).
void runReference(const std::string& reference, const L0_Var_2& object);
// Runs a reference without arguments.
void runVoidReference(const std::string& reference);
}  // namespace gr

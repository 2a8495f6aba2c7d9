// The small access transformations that every part of the tool uses. Each
// returns a variable that is null when the navigation finds nothing.
#pragma once

#include <vector>

#include "tool/Transformation.h"

namespace gr {
// The first object reached from FROM over ROLE, in a variable declared with CLASSNAME.
L0_Var_2 firstOver(const L0_Var_2& from, const std::string& role, const std::string& className);
// The first object of the class whose attribute ATTR equals VALUE.
L0_Var_2 firstWith(const std::string& className, const std::string& attr, const std::string& value);
// The first object of the class.
L0_Var_2 firstOf(const std::string& className);
// The first object of the class, created when there is none.
L0_Var_2 firstOrNew(const std::string& className);
// The same object in a variable of its own class: unlike a navigation, it
// stays bound when the link it was reached over is deleted.
L0_Var_2 stable(const L0_Var_2& object);

// A boolean of the model: true when written "true" or "1", false for any
// other text. Every boolean the tool reads goes through here.
bool flag(const L0_Var_2& object, const std::string& attribute);
// The attribute's text where the object's class has the attribute; "" for a
// null object or a class without it, which is no error.
std::string optionalText(const L0_Var_2& object, const std::string& attribute);
// The type and every supertype over all its `supertype` links, each once,
// nearest first.
std::vector<L0_Var_2> typeAndSupertypes(const L0_Var_2& type);
}  // namespace gr

L0_TRANSFORMATION L0_Var_2 L0_Func_get_current_diagram();
L0_TRANSFORMATION L0_Var_2 L0_Func_get_active_graphDiagram();
L0_TRANSFORMATION L0_Var_2 L0_Func_get_active_element();
L0_TRANSFORMATION L0_Var_2 L0_Func_get_graphDiagramType_by_id(std::string id);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_ElemType_by_id(std::string id);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_ElemStyle_by_id(std::string id);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_ElemStyle_from_elemType_by_id(L0_Var_2 type, std::string id);
L0_TRANSFORMATION std::string L0_Func_get_element_elemType_id(L0_Var_2 element);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_supertype_of(L0_Var_2 type);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_compartment_compartType(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_element_graphDiagram(L0_Var_2 element);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_edge_start_element(L0_Var_2 edge);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_edge_end_element(L0_Var_2 edge);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_node_parent(L0_Var_2 node);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_node_container(L0_Var_2 node);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_port_node(L0_Var_2 port);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_compartment_element(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_collection_of(L0_Var_2 diagram);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_selectedItem(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_current_elemStyle(L0_Var_2 element);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_current_compartStyle(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_compartType_compartStyle(L0_Var_2 compartType);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_graphDiagram_graphDiagramType(L0_Var_2 diagram);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_elemType_graphDiagramType(L0_Var_2 type);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_graphClipboard();
L0_TRANSFORMATION bool L0_Func_is_subtype_of(L0_Var_2 a, L0_Var_2 b);
L0_TRANSFORMATION bool L0_Func_is_typeOf_thru_supertypes(L0_Var_2 element, L0_Var_2 type);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_top_compartment(L0_Var_2 compartment);
L0_TRANSFORMATION std::string L0_Func_get_Element_Compartment_InputValue(L0_Var_2 element,
                                                                         std::string compartTypeId);
L0_TRANSFORMATION void L0_Func_delete_event();

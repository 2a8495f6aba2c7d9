// The properties dialog of a type element on a type diagram: the compartment
// tree of the element type on the left, the tabs on the right, and the
// handlers that keep the tree and the compartment types in step (add,
// rename, reorder, nest, delete). Closing it writes the order back.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_l2Click_BoxProperties(L0_Var_2 element);
// The double click of a seed-diagram line: the same dialog.
L0_TRANSFORMATION void L0_Func_newBox_Box_diagramType(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_refresh_tab();
// Rebuilds the tab "tab1" for the tree's selected node.
L0_TRANSFORMATION void L0_Func_make_type_tab(L0_Var_2 tab);
// The rows of the element type on the type tab.
L0_TRANSFORMATION void L0_Func_make_elemType_property(L0_Var_2 container, L0_Var_2 type);
L0_TRANSFORMATION void L0_Func_fill_tree(L0_Var_2 tree, L0_Var_2 type);

// ---- handlers
L0_TRANSFORMATION void L0_Func_add_Node_Dinamic();
L0_TRANSFORMATION void L0_Func_delete_treeNode();
L0_TRANSFORMATION void L0_Func_selected_treeNode_change();
L0_TRANSFORMATION void L0_Func_tree_node_change();
L0_TRANSFORMATION void L0_Func_update_treeNode();
L0_TRANSFORMATION void L0_Func_update_name_field();
// The "ID" row of a compartment type: an id the element type already uses is refused.
L0_TRANSFORMATION void L0_Func_update_compartType_id();
L0_TRANSFORMATION void L0_Func_fill_navigate_link_comboBox();
L0_TRANSFORMATION void L0_Func_add_delete_navigate_link();
L0_TRANSFORMATION void L0_Func_close_property();

// ---- compartment types
L0_TRANSFORMATION L0_Var_2 L0_Func_add_default_compartType();
L0_TRANSFORMATION L0_Var_2 L0_Func_add_compartType(L0_Var_2 parentNode, L0_Var_2 node);
L0_TRANSFORMATION void L0_Func_make_compartType_order();
L0_TRANSFORMATION void L0_Func_make_subCompartment_order(L0_Var_2 node);
// Deletes every compartment of the type in every diagram, with its sub-compartments.
L0_TRANSFORMATION void L0_Func_delete_compartments(L0_Var_2 compartType);
L0_TRANSFORMATION void L0_Func_update_style_id_and_caption(L0_Var_2 type);

namespace gr::cfg {
// The type element the open element-type dialog shows; without the dialog,
// the active element.
L0_Var_2 typeElement();
}  // namespace gr::cfg

// The looks of a defined tool. An element type's first style is its own
// look; further box styles are drawn as style boxes joined to the box type,
// further line styles are kept in a small dialog, compartment styles in a
// tree dialog, and the diagram type's own attributes in the diagram style
// dialog. The look itself is drawn in the diagram engine's style dialog on
// an element shown in the style.
#pragma once

#include "tool/Transformation.h"

// The element type of the diagram type with this id; null when none.
L0_TRANSFORMATION L0_Var_2 L0_Func_get_elemType_from_graphDiagramType(L0_Var_2 diagramType,
                                                                      std::string id);
// A new element style of the element's class carrying every value of STYLE
// and offering its compartment styles.
L0_TRANSFORMATION L0_Var_2 L0_Func_copy_elemStyle(L0_Var_2 style);

// ---- box styles drawn as style boxes
// "Add BoxStyle" of a box type element.
L0_TRANSFORMATION void L0_Func_new_ElemStyle1(L0_Var_2 element);
// The style a style box stands for: a copy of the first style of the type at
// the start of the style line EDGE, drawn on the box at its end.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_elemStyle_domain(L0_Var_2 edge);
// The small form of a style box or a sub-style line.
L0_TRANSFORMATION void L0_Func_make_elemStyle_properties(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_ok_make_elemStyle_properties();
// "FocusLost" of the form's name: the style's `caption` and `id`.
L0_TRANSFORMATION void L0_Func_update_elemStyle();
// `procDeleteElement` of style boxes: the style goes with its box; elements
// drawn in it fall back to their type's first style.
L0_TRANSFORMATION void L0_Func_delete_style(L0_Var_2 element);
// The engine's style dialog on the element.
L0_TRANSFORMATION void L0_Func_style_box(L0_Var_2 element);
// "Style" of the element-type dialog.
L0_TRANSFORMATION void L0_Func_open_style_box();

// ---- line styles
// "Make Line Styles" of a line type element.
L0_TRANSFORMATION void L0_Func_add_line_elemStyle(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_add_elemStyle_comboBox_items(L0_Var_2 comboBox);
L0_TRANSFORMATION std::string L0_Func_get_current_elemStyle_caption(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_check_delete_button();
L0_TRANSFORMATION void L0_Func_add_check_edgeStyle();
L0_TRANSFORMATION void L0_Func_style_transformation();
L0_TRANSFORMATION void L0_Func_style_delete();
L0_TRANSFORMATION void L0_Func_close_edgeStyle_form();

// ---- compartment styles
// "Add CompartStyles" / "Make Compartment Styles" of a type element.
L0_TRANSFORMATION void L0_Func_make_compartment_style_form(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_fill_compartment_style_comboBox(L0_Var_2 comboBox);
L0_TRANSFORMATION void L0_Func_update_tree_with_compartStyle();
L0_TRANSFORMATION void L0_Func_selected_compartStyle_treeNode_change();
// One row per attribute of the compartment style.
L0_TRANSFORMATION void L0_Func_fill_compartstyle_components(L0_Var_2 container, L0_Var_2 style);
L0_TRANSFORMATION void L0_Func_update_style_id_caption();
L0_TRANSFORMATION void L0_Func_update_compartStyle();
L0_TRANSFORMATION void L0_Func_add_compartStyle();
L0_TRANSFORMATION void L0_Func_delete_compartStyle();

// ---- the diagram type's own attributes
L0_TRANSFORMATION void L0_Func_diagram_style();
L0_TRANSFORMATION void L0_Func_update_target_graphDiagramType();

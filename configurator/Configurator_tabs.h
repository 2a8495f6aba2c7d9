// The tabs of the element-type dialog beside the type tab: the
// compartment-type tab with the value tables of its row type, the
// "Transformations" tab and the "Extras" tab. Each is built anew from the
// model whenever it is shown, and every field writes as the user leaves it.
#pragma once

#include "tool/Transformation.h"

// ---- the compartment-type tab
L0_TRANSFORMATION void L0_Func_make_compartType_property(L0_Var_2 container, L0_Var_2 type);
// The value table ("ComboBox Table", "CheckBox Table", "Free Table") of
// the selected compartment type into the two-column ROW.
L0_TRANSFORMATION void L0_Func_add_checkBox_comobBox_table(L0_Var_2 row, std::string caption);
L0_TRANSFORMATION void L0_Func_add_stereotype_table(L0_Var_2 row);
// The two value items "true" and "false" of a check-box compartment type,
// made when missing.
L0_TRANSFORMATION void L0_Func_make_checkBoxTable(L0_Var_2 compartType);
L0_TRANSFORMATION void L0_Func_update_comboBoxTable();
L0_TRANSFORMATION void L0_Func_update_stereoBoxTable();
// The value items of the compartment type anew from the table's rows;
// compartments of the type follow the items their values select.
L0_TRANSFORMATION void L0_Func_write_choice_items(L0_Var_2 table, L0_Var_2 compartType);
L0_TRANSFORMATION void L0_Func_set_isEssential();
L0_TRANSFORMATION void L0_Func_set_parents_isEssential();
// "Change" of a check box of the selected compartment type's property row:
// the attribute its id names.
L0_TRANSFORMATION void L0_Func_update_propertyRow();
// The "Transformation" field of a "MultiLineTextBoxRow+Tree" row, in the
// two-column ROW: what the generated dialog's "<-" button runs, stored as the
// property row's `treeTransformation` ("library#name"; a bare name is this
// library's).
L0_TRANSFORMATION void L0_Func_add_component_transformation_field(L0_Var_2 row);
L0_TRANSFORMATION void L0_Func_update_tree_transformation();
// ROW is the only first respondent of its dialog.
L0_TRANSFORMATION void L0_Func_reset_first_respondent(L0_Var_2 row);

// ---- "Transformations"
L0_TRANSFORMATION void L0_Func_make_UT_tab(L0_Var_2 tab);
L0_TRANSFORMATION void L0_Func_make_universal_compart_tab(L0_Var_2 tab, L0_Var_2 type);
L0_TRANSFORMATION void L0_Func_make_universal_elem_tab(L0_Var_2 tab, L0_Var_2 type);

// ---- "Extras"
L0_TRANSFORMATION void L0_Func_make_extra_tab(L0_Var_2 tab);
L0_TRANSFORMATION void L0_Func_add_compartType_extras(L0_Var_2 tab, L0_Var_2 type);
L0_TRANSFORMATION void L0_Func_add_elemType_extras(L0_Var_2 tab, L0_Var_2 type);
L0_TRANSFORMATION void L0_Func_update_to_be_invisible();
L0_TRANSFORMATION void L0_Func_set_isWordDocument();
L0_TRANSFORMATION void L0_Func_update_blockingTable();
// Links TYPE as blocking the compartment type of the element type with this caption.
L0_TRANSFORMATION bool L0_Func_add_blocking(L0_Var_2 type, std::string caption);
L0_TRANSFORMATION void L0_Func_add_identity_comboBox_items(L0_Var_2 comboBox);
L0_TRANSFORMATION void L0_Func_add_delete_identity_link();
L0_TRANSFORMATION void L0_Func_update_popUpDiagram_size();
L0_TRANSFORMATION void L0_Func_update_containerTable();

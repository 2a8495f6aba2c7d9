// Property dialogs of defined tools. The configurator stores a definition
// (a PropertyDiagram with tabs and rows, one row per compartment type); the
// dialog form is generated from it each time an element's properties are
// opened, filled from the element's compartments, and every field writes
// its value back as the user leaves it.
#pragma once

#include "tool/Transformation.h"

// ---- the definition
// The row types offered, the first being empty.
L0_TRANSFORMATION void L0_Func_fill_row_type_comboBox(L0_Var_2 comboBox);
// "Change" of the row-type combo box of the compartment-type tab.
L0_TRANSFORMATION void L0_Func_update_from_comboBox();
L0_TRANSFORMATION void L0_Func_add_propertyRow_to_propertyDiagram(L0_Var_2 compartType,
                                                                  std::string rowType);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_propertyRow(L0_Var_2 compartType, std::string rowType);
L0_TRANSFORMATION void L0_Func_add_multi_level_propertyRow(L0_Var_2 row, L0_Var_2 compartType);
// The tab captions of the dialog that holds the selected compartment type's row.
L0_TRANSFORMATION void L0_Func_fill_tab_comboBox(L0_Var_2 comboBox);
// "FocusLost" of the tab combo box: the row moves into the tab of that caption.
L0_TRANSFORMATION void L0_Func_add_propertyTab();
L0_TRANSFORMATION L0_Var_2 L0_Func_get_propertyTab(L0_Var_2 propertyDiagram, std::string caption,
                                                   L0_Var_2 compartType);
// Moves ROW into the tab CAPTION of its dialog (empty: directly under the dialog).
L0_TRANSFORMATION void L0_Func_select_propertyTab(L0_Var_2 row, std::string caption);

// ---- the order of a definition's tabs and rows
// The "Property Order" dialog of the type element: a tree of the element
// type's dialog, its tabs and rows and the sub-dialogs of its rows.
L0_TRANSFORMATION void L0_Func_make_property_diagram_order(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_fill_property_tree(L0_Var_2 tree, L0_Var_2 element);
// "Click" of its "Close": the links follow the tree's order.
L0_TRANSFORMATION void L0_Func_close_ordered_property();
L0_TRANSFORMATION void L0_Func_clear_property(L0_Var_2 propertyDiagram);

// ---- the generated dialog
L0_TRANSFORMATION void L0_Func_properties_test(L0_Var_2 element);
L0_TRANSFORMATION bool L0_Func_has_not_empty_property_diagram(L0_Var_2 owner);
// The form for the definition of OWNER (an element type or a compartment
// type), showing SUBJECT (an element or a compartment).
L0_TRANSFORMATION L0_Var_2 L0_Func_type__generate_property_diagram(L0_Var_2 owner,
                                                                   L0_Var_2 subject);
L0_TRANSFORMATION void L0_Func_populate_d_form_from_presentationElement(L0_Var_2 form,
                                                                        L0_Var_2 subject);

// ---- handlers of the generated dialog
L0_TRANSFORMATION void L0_Func_update_presentation();
L0_TRANSFORMATION void L0_Func_comboBox_changed();
L0_TRANSFORMATION void L0_Func_update_comboBox_items();
L0_TRANSFORMATION void L0_Func_show_subproperties();
L0_TRANSFORMATION void L0_Func_ok_properties_test();
L0_TRANSFORMATION void L0_Func_cancel_properties_test();
L0_TRANSFORMATION void L0_Func_ok_subproperties_test();
L0_TRANSFORMATION void L0_Func_cancel_subproperties_test();

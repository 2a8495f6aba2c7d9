// What a defined tool runs besides drawing: its tool bar, the pop-up menus of
// the empty canvas, of a selection and of each element type, and its key
// shortcuts. Each is edited in a table whose rows are written back, all of
// them, whenever the focus leaves the table or a row is deleted; pop-up items
// then follow their numbers.
#pragma once

#include "tool/Transformation.h"

// The diagram type the current diagram defines; null with "Error in
// get_current_target_graphDiagramType" when there is none.
L0_TRANSFORMATION L0_Var_2 L0_Func_get_current_target_graphDiagramType();

// ---- the dialogs of the type diagram's empty-canvas menu
L0_TRANSFORMATION void L0_Func_add_toolbar();
L0_TRANSFORMATION void L0_Func_add_popUp();
L0_TRANSFORMATION void L0_Func_add_keyshortcut();

// ---- the tables of the element-type dialog
// The type tab's pop-up table of the element type.
L0_TRANSFORMATION void L0_Func_add_popUpTable(L0_Var_2 container);
// The "Extras" tab's shortcut table of the element type.
L0_TRANSFORMATION void L0_Func_add_shortcut(L0_Var_2 container);

// ---- handlers of the tables ("FocusLost" and "DeleteButtonClick")
L0_TRANSFORMATION void L0_Func_update_toolbarTable();
L0_TRANSFORMATION void L0_Func_delete_toolbarTable();
L0_TRANSFORMATION void L0_Func_update_popUpTable();
L0_TRANSFORMATION void L0_Func_update_shortcut();
L0_TRANSFORMATION void L0_Func_update_popUpDiagram();
L0_TRANSFORMATION void L0_Func_update_shortcut_element();

// ---- writing
// The tool bar's tools anew from the table's rows.
L0_TRANSFORMATION void L0_Func_toolBarTable(L0_Var_2 table, L0_Var_2 toolbar);
// The pop-up's items anew from the table's rows; returns the ordered pop-up
// that replaces it.
L0_TRANSFORMATION L0_Var_2 L0_Func_popUpTable(L0_Var_2 table, L0_Var_2 popUp);
// A new pop-up in place of POPUP holding its items by ascending `nr` (ties
// in link order), numbered 1, 2, 3 ...; POPUP is deleted.
L0_TRANSFORMATION L0_Var_2 L0_Func_make_popUp_order(L0_Var_2 popUp);
// OWNER's shortcuts over ROLE anew from the table's rows. A key that an
// earlier row of the table already uses is not written again.
L0_TRANSFORMATION void L0_Func_shortcutTable(L0_Var_2 table, L0_Var_2 owner, std::string role);

// Further tables of a tool definition: the event handlers of element,
// compartment and diagram types, the domain mappings of element and
// compartment types, and the diagram engine's own handler names. The handler and mapping tables
// live in tabs "Handlers" (tab4) and "Mappings" (tab6) of the element-type dialog.
#pragma once

#include "tool/Transformation.h"

// The event-handler table of the tree's selected type in TAB.
L0_TRANSFORMATION void L0_Func_make_handler_tab(L0_Var_2 tab);
// The event-handler table of the current diagram's defined type (tab2 of
// the diagram style form).
L0_TRANSFORMATION void L0_Func_make_diagram_handler_tab(L0_Var_2 tab);
L0_TRANSFORMATION void L0_Func_update_elemType_handler();
L0_TRANSFORMATION void L0_Func_update_graphDiagramType_handler();
// OWNER's handlers anew from the table's rows.
L0_TRANSFORMATION void L0_Func_add_handler(L0_Var_2 table, L0_Var_2 owner);

// The three mapping tables of the tree's selected type in TAB.
L0_TRANSFORMATION void L0_Func_make_mapping_tab(L0_Var_2 tab);
L0_TRANSFORMATION void L0_Func_update_mappingToObject();
L0_TRANSFORMATION void L0_Func_update_mappingToLink();
L0_TRANSFORMATION void L0_Func_update_mappingToAttribute();

// The form "Add Tagged Values": a table of tag declarations (name, row type,
// transformation), kept in the form only.
L0_TRANSFORMATION void L0_Func_add_tagged_values_();
L0_TRANSFORMATION void L0_Func_close_tag_form();

// The form "Graph Diagram Engine": the handler of each diagram event.
L0_TRANSFORMATION void L0_Func_edit_graph_diagram_engine();
L0_TRANSFORMATION void L0_Func_update_gde_form_inputField();

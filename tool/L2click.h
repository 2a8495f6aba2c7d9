// Double click and navigation: a double click runs the transformation the
// element's type names in `l2ClickEvent`; "navigate" opens the element's
// child diagram, building it when it does not exist yet.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_L2Click();
L0_TRANSFORMATION void L0_Func_call_L2Click(L0_Var_2 type, L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_navigate(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_navigate_with_constructing(L0_Var_2 element);
// The `input` of the element's first compartment whose type's id is "Vārds" or "Name".
L0_TRANSFORMATION std::string L0_Func_getNameValue(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_close_BoxProperties();
L0_TRANSFORMATION void L0_Func_ok_specification_properties();
L0_TRANSFORMATION void L0_Func_update_graphDiagramType();

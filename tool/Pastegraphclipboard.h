// Pasting the graph clipboard into the current diagram: a second copy of the
// clipboard's elements, selected afterwards. Seeds carry their child
// diagrams along.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_PasteGraphClipboard();
L0_TRANSFORMATION void L0_Func_paste(L0_Var_2 element);
L0_TRANSFORMATION L0_Var_2 L0_Func_paste_element_to(L0_Var_2 element, L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_copy_paste_diagram_seed(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_copy_paste_diagram_seed2(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_clear_seed_copy_values(L0_Var_2 element);

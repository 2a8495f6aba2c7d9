// What drawing on a type diagram defines: a box, free box, line or free line
// becomes a new element type of the diagram type being defined, with its
// style, palette entry, pop-up and keys; a pin becomes a pin type of its box's type.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_add_type(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_add_portType(L0_Var_2 pin);
// A bare box type "NewElement" with its style, for a type element drawn without one.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_elemType(L0_Var_2 element);
// The new style carries every value of the template; a non-string attribute
// whose template value is empty is skipped.
L0_TRANSFORMATION void L0_Func_copy_class_with_attributes(L0_Var_2 from, L0_Var_2 to);

// ---- specialisation lines and moved line ends
// The line's start type becomes a subtype of its end type.
L0_TRANSFORMATION void L0_Func_create_subtype(L0_Var_2 edge);
L0_TRANSFORMATION void L0_Func_delete_subtype(L0_Var_2 edge);
// An end of a specialisation line moved from OLDELEMENT to NEWELEMENT.
L0_TRANSFORMATION void L0_Func_move_subtype(L0_Var_2 edge, L0_Var_2 oldElement,
                                            L0_Var_2 newElement);
// An end of a line type's line moved: its pair follows.
L0_TRANSFORMATION void L0_Func_move_linetype(L0_Var_2 edge, L0_Var_2 oldElement,
                                             L0_Var_2 newElement);
// "Change" of the type tab's "Is Simetric" box: writes it and adds or
// removes the reverse pair.
L0_TRANSFORMATION void L0_Func_simetric_pair();
L0_TRANSFORMATION void L0_Func_make_isSimetric_pair(L0_Var_2 lineType, bool simetric);
// "Change" of "Is Reverse ->" / "Is Reverse <-".
L0_TRANSFORMATION void L0_Func_reverse_pair_start();
L0_TRANSFORMATION void L0_Func_reverse_pair_end();
L0_TRANSFORMATION void L0_Func_reverse_pair(std::string which);

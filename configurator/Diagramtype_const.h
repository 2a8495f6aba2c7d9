// Seeding of the configurator's own diagram types.
// The type diagram type: every box, pin, free box, line and free line drawn on one becomes an
// element type.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_diagramType_const();
// The type diagram's palette, linked to DIAGRAM_TYPE.
L0_TRANSFORMATION L0_Var_2 L0_Func_create_diagramType_palette(L0_Var_2 diagramType);
// Kept for definitions that name it: parent-child rules of box types are not seeded.
L0_TRANSFORMATION void L0_Func_add_parent_child();

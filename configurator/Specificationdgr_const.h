// Seeding of the configurator's own diagram types.
// The seed diagram type: the seed palette, its element types, styles, pop-ups and tool
// bar.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_specificationDgr_const();
// The seed diagram's palette, linked to DIAGRAM_TYPE.
L0_TRANSFORMATION L0_Var_2 L0_Func_create_specificationDgr_palette(L0_Var_2 diagramType);
// Opens the seed diagram, made when the project has none.
L0_TRANSFORMATION void L0_Func_show_specificationDgr(L0_Var_2 activeElement);

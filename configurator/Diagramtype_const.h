// Seeding of the configurator's own diagram types.
// The type diagram type: every box, pin, free box, line and free line drawn on one becomes an element type.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_diagramType_const();

// Seeding of the configurator's own diagram types.
// The project diagram type: the project's entry diagram, to whose palette every defined diagram
// type adds a box.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_project_diagram_const();

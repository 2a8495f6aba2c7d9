// Defining a diagram type by drawing a seed in the seed diagram,
// using the defined type from the project diagram, and exporting the tool.
#pragma once

#include "tool/Transformation.h"

// The seed's creation procedure: the defined diagram type with its type
// diagram, palette, keys, project palette box and project box type.
L0_TRANSFORMATION void L0_Func_create_diagramType(L0_Var_2 node);
// A box of a defined type in the project diagram gets a diagram of that type.
L0_TRANSFORMATION void L0_Func_create_test_dgr(L0_Var_2 element);
// Deleting such a box deletes its diagram first.
L0_TRANSFORMATION void L0_Func_delete_seed(L0_Var_2 element);
// The seed's "Name" and "IconPath" values name the defined type, its project
// box type and palette entry.
L0_TRANSFORMATION void L0_Func_update_diagramType(L0_Var_2 seed);
// The compartment's value becomes the caption of its element's target diagram.
L0_TRANSFORMATION void L0_Func_update_diagram_caption(L0_Var_2 compartment);
// Copies the project beside the tool folder as a tool of its own.
L0_TRANSFORMATION void L0_Func_make_tool();
// The last folder name of PATH; separators are "/" and "\".
L0_TRANSFORMATION std::string L0_Func_get_dir_name(std::string path);

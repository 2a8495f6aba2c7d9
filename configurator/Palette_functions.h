// Palette entries of defined tools: one entry per box, free-box and pin
// type; palette lines shared by the line types of one name. What the type
// diagram and the type tab of the element-type dialog need of them.
#pragma once

#include "tool/Transformation.h"

// The palette of the diagram type that the element's diagram defines.
L0_TRANSFORMATION L0_Var_2 L0_Func_get_palette(L0_Var_2 element);
// A new entry of CLASSNAME for the type element's type; when the element has
// no type, the entry of that class already linked to it.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_paletteElement(L0_Var_2 element, L0_Var_2 palette,
                                                      std::string className);
// The shared palette line NAME, found or made, linked to the element's line type.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_paletteLine(L0_Var_2 element, L0_Var_2 palette,
                                                   std::string name);
// The palette entry of the type follows the type's new caption.
L0_TRANSFORMATION void L0_Func_palette_element_focusLost(L0_Var_2 type);
// Rebuilds the palette of the first diagram of the element's defined diagram type.
L0_TRANSFORMATION void L0_Func_update_diagram_palette(L0_Var_2 element);

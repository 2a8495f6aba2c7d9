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

// ---- the palette rows of the element-type dialog's type tab
// Makes sure the element's type has a palette entry, of the class its
// element's class calls for; returns that class name ("" for no type).
L0_TRANSFORMATION std::string L0_Func_check_and_add_palette_element(L0_Var_2 element);
// The caption, number (0 when none) and picture of the type's entry.
L0_TRANSFORMATION std::string L0_Func_get_palette_name(L0_Var_2 type);
L0_TRANSFORMATION int L0_Func_get_palette_nr(L0_Var_2 type);
L0_TRANSFORMATION std::string L0_Func_get_palette_element_image(L0_Var_2 type);
// The file name after the last folder separator.
L0_TRANSFORMATION std::string L0_Func_get_icon_name(std::string path);
// "FocusLost" of "Palette Element Name": empty deletes the entry.
L0_TRANSFORMATION void L0_Func_update_paletteElement_name();
// "FocusLost" of a line type's "Palette Element Name": the shared palette line of that name.
L0_TRANSFORMATION void L0_Func_update_paletteLine_name();
// "FocusLost" of "Palette Element Nr": a number that is no integer stays in the field.
L0_TRANSFORMATION void L0_Func_update_paletteElement_nr();
// "Change" of "Icon Path": the picture's file name.
L0_TRANSFORMATION void L0_Func_update_paletteElement_icon();
// The captions of the palette lines of the dialog's diagram type.
L0_TRANSFORMATION void L0_Func_add_line_comboBox_items(L0_Var_2 comboBox);
// The "Palette Element Nr" and "Icon Path" fields show ENTRY.
L0_TRANSFORMATION void L0_Func_set_palette_nr_and_image_values(L0_Var_2 entry);

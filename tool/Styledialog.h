// What follows the diagram engine's style dialog. The engine has written the
// look the user chose into the element's styles; the current diagram's
// active view says what the dialog was opened for: a view's items, an
// element style chosen from the "styles" list, or a stereotype's element or
// compartment style. Without such a job the configurator's script takes the
// event.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_OKStyleDialogEvent();
L0_TRANSFORMATION void L0_Func_makeViewItems(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_makeElemStyle(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_setElementStereotypeStyle(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_setCompartmentStereotypeStyle(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_addElemStyleByChoiceItem();
L0_TRANSFORMATION void L0_Func_addCompartStyleByChoiceItem();
// A new style of the same class with every value of STYLE; a number or
// flag left empty in STYLE is not written.
L0_TRANSFORMATION L0_Var_2 L0_Func_copyStyle(L0_Var_2 style);
// Clears the dialog's example element.
L0_TRANSFORMATION void L0_Func_deleteActiveElement();

// Deletion of elements together with what depends on them.
#pragma once

#include "tool/Transformation.h"

// The type's procDeleteElement when named, else the default deletion.
L0_TRANSFORMATION void L0_Func_delete_element(L0_Var_2 element);
// The deletion a defined tool's box and pin types name: the default one, as
// by a user.
L0_TRANSFORMATION void L0_Func_default_delete_element(L0_Var_2 element);
// The default deletion; USERDELETION also removes compartments and domain
// objects, otherwise (clearing the clipboard) procClipboardCleared runs.
L0_TRANSFORMATION void L0_Func_default_delete_element_helper_helper(L0_Var_2 element,
                                                                    bool userDeletion);

// The delete, cut and child-diagram deletion gestures.
L0_TRANSFORMATION void L0_Func_DeleteCollection();
L0_TRANSFORMATION void L0_Func_delete(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_CopyCutCollection();
L0_TRANSFORMATION void L0_Func_cut(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_finishCopyCutCollection();
L0_TRANSFORMATION void L0_Func_delete_diagram();
L0_TRANSFORMATION void L0_Func_delete_diagram_finish();

namespace gr {
// Deletes a diagram whose elements are gone, with the selection it owns.
void deleteDiagram(L0_Var_2& diagram);
}  // namespace gr

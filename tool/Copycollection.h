// Copying the selection of the current diagram into the graph clipboard: a
// detached copy of the selected elements with their compartments, ports and
// contained nodes. While an operation runs each source is linked to its copy
// (`copy`, back `original`); the links are removed at its end.
#pragma once

#include <vector>

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_CopyCollection();
L0_TRANSFORMATION void L0_Func_copy(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_finishCopyCollection();
L0_TRANSFORMATION L0_Var_2 L0_Func_copy_element_to_by(L0_Var_2 element, L0_Var_2 clipboard,
                                                      std::string by);
L0_TRANSFORMATION void L0_Func_copy_element_features_from_to(L0_Var_2 source, L0_Var_2 copy);
L0_TRANSFORMATION void L0_Func_removeCopyOriginalLinks();
L0_TRANSFORMATION void L0_Func_clearGraphClipboard();

namespace gr {
std::vector<L0_Var_2> partnersOver(const L0_Var_2& object, const std::string& role,
                                   const std::string& className);
// The selected elements of the current diagram, in selection order.
std::vector<L0_Var_2> selection(const L0_Var_2& diagram);
// Child diagrams of the elements, depth first through their elements' children.
std::vector<L0_Var_2> childDiagramsOf(const std::vector<L0_Var_2>& elements);
}  // namespace gr

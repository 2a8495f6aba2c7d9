// Shared diagrams: a project converted to shared areas that the multi-user
// engine keeps outside it; a diagram is checked out to read it, locked to
// edit it and committed to write it back. Each diagram carries the
// `remoteId` of its area, each element that opens one the
// `targetDiagramRemoteId`.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_checkout();
L0_TRANSFORMATION void L0_Func_lock();
L0_TRANSFORMATION void L0_Func_import_from_context(bool readOnly);
L0_TRANSFORMATION void L0_Func_finish_import();
L0_TRANSFORMATION void L0_Func_commit();
L0_TRANSFORMATION void L0_Func_finish_commit();
L0_TRANSFORMATION void L0_Func_release();
L0_TRANSFORMATION void L0_Func_set_remote_ids_for_new_child_diagrams(L0_Var_2 diagram);
L0_TRANSFORMATION bool L0_Func_export_diagram_to(L0_Var_2 diagram, bool flag, std::string remoteId);
L0_TRANSFORMATION std::string L0_Func_export_diagram_tree(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_save_diagram_tree(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_convert_to_multiuser();
L0_TRANSFORMATION void L0_Func_finished_convert_to_multiuser();
// The first diagram whose `remoteId` is ID, or null.
L0_TRANSFORMATION L0_Var_2 L0_Func_get_graphDiagram_by_remote_id(std::string id);
// Links the element over `target` to the diagram of its `targetDiagramRemoteId`.
L0_TRANSFORMATION void L0_Func_connect_seed_to_diagram_by_id(L0_Var_2 element);

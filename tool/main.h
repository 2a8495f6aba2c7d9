// The front door of the universal diagram tool: the dispatcher that the host
// runs for every event whose handler is the bare library name "main", the
// registration of the event handlers, and the set-up of new and opened
// projects.
#pragma once

#include "tool/Transformation.h"

L0_TRANSFORMATION void L0_Func_Main();
L0_TRANSFORMATION void L0_Func_myconst();
L0_TRANSFORMATION void L0_Func_add_links_from_compartType_to_compartStyle();
L0_TRANSFORMATION void L0_Func_project_created(L0_Var_2 event);
L0_TRANSFORMATION void L0_Func_project_opened(L0_Var_2 event);
L0_TRANSFORMATION void L0_Func_First(std::string name);
L0_TRANSFORMATION void L0_Func_show_project_diagram();
L0_TRANSFORMATION void L0_Func_addTypeToProjectDgr(std::string caption);
L0_TRANSFORMATION void L0_Func_OpenDgrEvent(L0_Var_2 event);
L0_TRANSFORMATION void L0_Func_form_button_press(L0_Var_2 button);
// Appends TEXT to "l0_log" while logging is on.
L0_TRANSFORMATION void L0_Func_log(std::string text);

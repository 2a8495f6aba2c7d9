#include "configurator/Project_diagram_const.h"

#include "configurator/Seeding.h"

using namespace gr::cfg;

// Palette and tool bar start empty: every defined diagram type adds its box.
// Its boxes copy with "Ctrl C" (their own shortcut); "Ctrl V" on the empty
// canvas pastes them, as on the diagrams of the defined types, since the
// canvas menu offers no "Paste".
void L0_Func_project_diagram_const() {
  L0_Var_2 diagramType = newDiagramType("projectDiagram", "Project Diagram");
  addPalette(diagramType, {});
  addToolbar(diagramType);
  addDiagramPopUp(diagramType, "eType", "", {{"Specification Diagram", "show_specificationDgr"}});
  addDiagramPopUp(diagramType, "cType", "", {});
  L0_Func_add_key_shortcut(diagramType, "eKeyboardShortcut", "Ctrl V", "paste");
}
GR_ENTRY_SIGNATURE(L0_Func_project_diagram_const)

#include "configurator/Project_diagram_const.h"

#include "configurator/Seeding.h"

using namespace gr::cfg;

// Palette and tool bar start empty: every defined diagram type adds its box.
void L0_Func_project_diagram_const() {
  L0_Var_2 diagramType = newDiagramType("projectDiagram", "Project Diagram");
  addPalette(diagramType, {});
  addToolbar(diagramType);
  addDiagramPopUp(diagramType, "eType", "", {{"Specification Diagram", "show_specificationDgr"}});
  addDiagramPopUp(diagramType, "cType", "", {});
}
GR_ENTRY_SIGNATURE(L0_Func_project_diagram_const)

#include "configurator/Specificationdgr_const.h"

#include "configurator/Seeding.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using namespace gr::cfg;

namespace {

// "Export" keeps number 1 beside "Paste": the items that follow count on.
const PopUpItems kEmptySpaceItems = {
    {"Paste", "paste"},
    {"Export", "specific_export", 1},
    {"Import", "import"},
    {"Import Konfigurators", "konfiurators_import"},
    {"Import Diagram Types", "importDgrTypes"},
    {"Add ToolBar", "add_toolbar"},
    {"Add PopUp", "add_popUp"},
    {"Add Key ShortCuts", "add_keyshortcut"},
    {"Specific Transformation", "specific_transformation"},
    {"Diagram style", "diagram_style"},
    {"Edit GraphDiagramEngine", "edit_graph_diagram_engine"},
};

const std::vector<PaletteEntry> kPalette = {
    {"PaletteBox", "diagramType", "Seed", "ASDscriptNew.bmp", 1},
    {"PaletteLine", "diagramLine", "Line", "P_link.BMP", 2},
    {"PalettePin", "Pin", "Pin", "pin.bmp", 3},
    {"PaletteFreeBox", "FreeBox", "FreeBox", "action.BMP", 4},
    {"PaletteFreeLine", "FreeLine", "FreeLine", "0subclassOf.bmp", 5},
    {"PaletteLine", "Subtype", "Specialization", "0instanceOf.bmp", 6},
};

ElemTypeSpec diagramTypeType() {
  return {.className = "NodeType",
          .id = "diagramType",
          .caption = "Diagram Type",
          .values = join({{{"procCreateElementDomain", "create_diagramType"},
                           {"procDeleteElement", "delete_specification_seed"},
                           {"l2ClickEvent", "navigate"},
                           {"procProperties", "l2Click_BoxProperties"},
                           {"openPropertiesOnElementCreate", "true"}},
                          clipboardProcedures()}),
          .style = {.className = "NodeStyle",
                    .id = "diagramType",
                    .caption = "Diagram Type",
                    .values = plainBoxStyleValues(),
                    .compartStyles = {{"Name", compartStyleValues("", 1, 1, 0, 1)},
                                      {"IconPath", compartStyleValues("", 0, 0, 0, 0)}}},
          .keys = Keys::standard,
          .paletteEntry = "diagramType",
          .popUp = PopUpSpec{"project_dgr_diagramType",
                             {{"Open", "navigate"},
                              {"Delete", "delete"},
                              {"Cut", "cut"},
                              {"Copy", "copy"},
                              {"Properties", "l2Click_BoxProperties"},
                              {"Add BoxStyle", "new_ElemStyle1"},
                              {"Add CompartStyles", "make_compartment_style_form"},
                              {"Make Property Diagram Order", "make_property_diagram_order"},
                              {"Export Diagram Types", "exportDgrTypes"}}},
          .nameCompartment = true};
}

// Its pair names "fiction", which does not exist yet: the pair comes later.
ElemTypeSpec diagramLineType() {
  return {
      .className = "EdgeType",
      .id = "diagramLine",
      .values = join({{{"procCreateElementDomain", "add_type"},
                       {"procDeleteElementDomain", "delete_elem"},
                       {"l2ClickEvent", "newBox_Box_diagramType"},
                       {"procProperties", "l2Click_BoxProperties"},
                       {"openPropertiesOnElementCreate", "true"}},
                      clipboardProcedures()}),
      .style = {.className = "EdgeStyle", .id = "diagramLine", .values = arrowLineStyleValues()},
      .keys = Keys::line,
      .paletteEntry = "diagramLine",
      .popUp = PopUpSpec{"diagramLine", linePopUpItems("delete")}};
}

// A pair whose end is "fiction" admits every type that fiction has as subtype.
ElemTypeSpec fictionType() {
  return {.className = "NodeType",
          .id = "fiction",
          .style = {.className = "NodeStyle", .id = "fiction", .values = plainBoxStyleValues()},
          .subtypes = {"diagramType", "diagramLine", "pin", "freeBox", "freeLine"}};
}

ElemTypeSpec subtypeType() {
  return {
      .className = "EdgeType",
      .id = "subtype",
      .values = join({{{"procCreateElementDomain", "create_subtype"},
                       {"procDeleteElementDomain", "delete_subtype"},
                       {"procMoveLine", "move_subtype"}},
                      clipboardProcedures()}),
      .style = {.className = "EdgeStyle", .id = "subtype", .values = specialisationStyleValues()},
      .keys = Keys::line,
      .paletteEntry = "Subtype",
      .popUp = PopUpSpec{"Subtype", {{"Delete", "delete"}}},
      .pairs = {{"fiction", "fiction", "subtype"}}};
}

void addExportTool(L0_Var_2& diagramType) {
  L0_Var_2 toolbar = addToolbar(diagramType);
  L0_Var_2 tool = newObject("Tool");
  if (tool.isNull()) return;
  setValues(tool, {{"id", "MakeTool"},
                   {"caption", "Export Tool"},
                   {"visibility", "true"},
                   {"nr", "1"},
                   {"picture", "1asdAnswer.BMP"},
                   {"procedure_name", "make_tool"}});
  link(toolbar, "tool", tool);
}

}  // namespace

L0_Var_2 L0_Func_create_specificationDgr_palette(L0_Var_2 diagramType) {
  return addPalette(diagramType, kPalette);
}
GR_ENTRY_SIGNATURE(L0_Func_create_specificationDgr_palette)

void L0_Func_specificationDgr_const() {
  L0_Var_2 diagramType = newDiagramType("specificationDgr", "Specification Diagram");
  addDiagramPopUp(diagramType, "eType", "popUpDgr", kEmptySpaceItems);
  addDiagramPopUp(diagramType, "cType", "popUpDgr", {{"Export Diagram Types", "exportDgrTypes"}});
  addExportTool(diagramType);
  L0_Var_2 palette = L0_Func_create_specificationDgr_palette(diagramType);
  seedElemTypes(diagramType, palette,
                {nodeStyleType(), diagramTypeType(), diagramLineType(), pinType("diagramType"),
                 freeBoxType(), freeLineType(true), fictionType()});
  addPairs(diagramType, "diagramLine", {{"fiction", "fiction", "diagramLine_pair"}});
  seedElemTypes(diagramType, palette,
                {subtypeType(), styleLineType({{"diagramType", "NodeStyle", "styleLine"}})});
}
GR_ENTRY_SIGNATURE(L0_Func_specificationDgr_const)

// The project diagram's menu item: the seed diagram is made on first
// use, so a project that never defines a tool has none. What it defines is the
// project diagram's type (its seeds are the project diagram's boxes, its lines
// the project diagram's lines), which is its target type as the import merges
// it.
void L0_Func_show_specificationDgr(L0_Var_2 /*activeElement*/) {
  L0_Var_2 type = L0_Func_get_graphDiagramType_by_id("specificationDgr");
  if (type.isNull()) return;
  L0_Var_2 diagram = gr::firstOver(type, "graphDiagram", "GraphDiagram");
  if (diagram.isNull()) {
    diagram = newObject("GraphDiagram");
    diagram.setAttr("caption", "Specification Diagram");
    link(diagram, "graphDiagramType", type);
    L0_Var_2 defined = L0_Func_get_graphDiagramType_by_id("projectDiagram");
    if (!defined.isNull()) link(diagram, "target_type", defined);
  }
  L0_Func_activeDgrCmd(diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_show_specificationDgr)

#include "configurator/Diagramtype_const.h"

#include "configurator/Seeding.h"

using namespace gr::cfg;

namespace {

const PopUpItems kEmptySpaceItems = {
    {"Paste", "paste"},
    {"Add ToolBar", "add_toolbar"},
    {"Add PopUp", "add_popUp"},
    {"Add Key ShortCuts", "add_keyshortcut"},
    {"Diagram Style", "diagram_style"},
};

const PopUpItems kSelectionItems = {{"Cut", "cut"}, {"Copy", "copy"}, {"Delete", "delete"}};

const std::vector<PaletteEntry> kPalette = {
    {"PaletteBox", "Box", "Box", "deployment_d.bmp", 1},
    {"PaletteLine", "Line", "Line", "P_link.BMP", 2},
    {"PalettePin", "Pin", "Pin", "pin.bmp", 3},
    {"PaletteFreeBox", "FreeBox", "FreeBox", "action.BMP", 4},
    {"PaletteFreeLine", "FreeLine", "FreeLine", "0subclassOf.bmp", 5},
    {"PaletteLine", "Stereotype", "Specialization", "0instanceOf.bmp", 6},
};

// Shown on a stereotype box, whose pop-up reuses the box type's id but
// leaves the clipboard items without procedures.
ElemTypeSpec stereotypeBoxType() {
  return {
      .className = "NodeType",
      .id = "stereotypeBox",
      .values = {{"l2ClickEvent", "stereotype_BoxProperties"}},
      .style = {.className = "NodeStyle", .id = "stereotypeBox", .values = plainBoxStyleValues()},
      .popUp = PopUpSpec{
          "box",
          {{"Cut", ""}, {"Copy", ""}, {"Delete", ""}, {"Properties", "l2Click_BoxProperties"}}}};
}

ElemTypeSpec boxType() {
  return {.className = "NodeType",
          .id = "box",
          .values = join({boxProcedures(), clipboardProcedures(), plainBoxFlags()}),
          .style = {.className = "NodeStyle", .id = "box", .values = plainBoxStyleValues()},
          .keys = Keys::standard,
          .paletteEntry = "Box",
          .popUp = PopUpSpec{"box", boxPopUpItems()},
          .nameCompartment = true};
}

ElemTypeSpec lineType() {
  return {.className = "EdgeType",
          .id = "line",
          .values = join({{{"procCreateElementDomain", "add_type"},
                           {"procDeleteElementDomain", "delete_elem"},
                           {"l2ClickEvent", "l2Click_BoxProperties"},
                           {"procProperties", "l2Click_BoxProperties"},
                           {"openPropertiesOnElementCreate", "true"},
                           {"procMoveLine", "move_linetype"}},
                          clipboardProcedures()}),
          .style = {.className = "EdgeStyle", .id = "line", .values = arrowLineStyleValues()},
          .keys = Keys::line,
          .paletteEntry = "Line",
          .popUp = PopUpSpec{"line", linePopUpItems("delete")},
          .pairs = {{"box", "box", "line-box/box"},
                    {"line", "line", "line-line/line"},
                    {"box", "line", "line-box/line"},
                    {"line", "box", "line-line/box"},
                    {"pin", "pin", "pin_to_pin"},
                    {"pin", "box", "pin_to_box"},
                    {"box", "pin", "box_to_pin"},
                    {"pin", "line", "pin_to_line"},
                    {"line", "pin", "pin_to_line"}}};
}

ElemTypeSpec subStyleType() {
  return {.className = "EdgeType",
          .id = "subStyle",
          .values = {{"l2ClickEvent", "make_elemStyle_properties"},
                     {"procProperties", "make_elemStyle_properties"}},
          .style = {.className = "EdgeStyle",
                    .id = "subStyle",
                    .values = lineStyleValues(1, "0", 1, {1, 1, "0"}, {3, 1, "0"})},
          .popUp = PopUpSpec{"subStyle",
                             {{"Delete", "delete"}, {"Properties", "make_elemStyle_properties"}}},
          .pairs = {{"box", "box", "style_line"}}};
}

ElemTypeSpec substyleLineType() {
  return {.className = "EdgeType",
          .id = "substyle_line",
          .style = {.className = "EdgeStyle",
                    .id = "substyle_line",
                    .values = lineStyleValues(1, "12632256", 16, {2, 1, "0"}, {1, 1, "0"})},
          .popUp = PopUpSpec{"subStyle", {}},
          .pairs = {{"line", "subStyle", "style_to_line"}}};
}

ElemTypeSpec stereotypeType() {
  return {.className = "EdgeType",
          .id = "stereotype",
          .values = join({{{"procCreateElementDomain", "create_subtype"},
                           {"procDeleteElementDomain", "delete_subtype"},
                           {"procMoveLine", "move_subtype"}},
                          clipboardProcedures()}),
          .style = {.className = "EdgeStyle",
                    .id = "stereotype",
                    .values = specialisationStyleValues()},
          .keys = Keys::line,
          .paletteEntry = "Stereotype",
          .popUp = PopUpSpec{"stereotype", {{"Delete", "delete"}}},
          .pairs = {{"box", "box", "stereotype1"},
                    {"line", "line", "stereotype2"},
                    {"pin", "pin", "pin_to_pin_subtype"},
                    {"pin", "box", "pin_to_box_subtype"},
                    {"box", "pin", "box_to_pin_subtype"}}};
}

ElemTypeSpec stereotypeLineType() {
  return {.className = "EdgeType",
          .id = "stereotypeLine",
          .style = {.className = "EdgeStyle",
                    .id = "stereotypeLine",
                    .values = lineStyleValues(1, "0", 1, {2, 1, "0"}, {1, 1, "0"})},
          .popUp = PopUpSpec{"stereotypeLine", {{"Delete", "delete"}}},
          .pairs = {{"box", "stereotypeBox", "stereotypeLine"}}};
}

}  // namespace

L0_Var_2 L0_Func_create_diagramType_palette(L0_Var_2 diagramType) {
  return addPalette(diagramType, kPalette);
}
GR_ENTRY_SIGNATURE(L0_Func_create_diagramType_palette)

// Parent-child rules between box types are defined by the user, not seeded;
// the name stays callable because seeding has always ended with it.
void L0_Func_add_parent_child() {}
GR_ENTRY_SIGNATURE(L0_Func_add_parent_child)

void L0_Func_diagramType_const() {
  L0_Var_2 diagramType = newDiagramType("diagramTypeDiagram", "");
  addDiagramPopUp(diagramType, "eType", "diagramType_void", kEmptySpaceItems);
  addDiagramPopUp(diagramType, "cType", "diagramType_collection", kSelectionItems);
  L0_Var_2 palette = L0_Func_create_diagramType_palette(diagramType);
  seedElemTypes(
      diagramType, palette,
      {stereotypeBoxType(), boxType(), nodeStyleType(), pinType("box"), freeBoxType(), lineType(),
       freeLineType(false), subStyleType(), substyleLineType(), stereotypeType(),
       stereotypeLineType(), styleLineType({{"box", "NodeStyle", "styleLine"}})});
  L0_Func_add_parent_child();
}
GR_ENTRY_SIGNATURE(L0_Func_diagramType_const)

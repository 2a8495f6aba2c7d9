#include "configurator/Palette_functions.h"

#include "configurator/Configurator_utilities.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::valueOf;

namespace {

bool usedByAnotherType(const L0_Var_2& entry, const L0_Var_2& type) {
  for (const L0_Var_2& other : gr::cfg::partnersOf(entry, "elemType", "ElemType"))
    if (other != type) return true;
  return false;
}

}  // namespace

L0_Var_2 L0_Func_get_palette(L0_Var_2 element) {
  L0_Var_2 diagram = firstOver(element, "graphDiagram", "GraphDiagram");
  L0_Var_2 defined = firstOver(diagram, "target_type", "GraphDiagramType");
  return firstOver(defined, "palette", "Palette");
}
GR_ENTRY_SIGNATURE(L0_Func_get_palette)

L0_Var_2 L0_Func_add_paletteElement(L0_Var_2 element, L0_Var_2 palette, std::string className) {
  L0_Var_2 type = firstOver(element, "target_type", "ElemType");
  if (type.isNull()) {
    L0_Var_2 entry = firstOver(element, "target_paletteElement", className);
    return entry;
  }
  L0_Var_2 entry = newObject(className);
  if (entry.isNull()) return entry;
  entry.setAttr("id", "");
  entry.setAttr("caption", "");
  entry.setAttr("nr", "1");
  link(entry, "palette", palette);
  link(entry, "representation", element);
  link(type, "paletteElement", entry);
  return entry;
}
GR_ENTRY_SIGNATURE(L0_Func_add_paletteElement)

L0_Var_2 L0_Func_add_paletteLine(L0_Var_2 element, L0_Var_2 palette, std::string name) {
  L0_Var_2 type = gr::stable(firstOver(element, "target_type", "ElemType"));
  if (type.isNull()) {
    gr::showMessageBox("Error in add_paletteLine");
    return L0_Var_2("PaletteLine");
  }
  L0_Var_2 line =
      gr::stable(gr::cfg::partnerWithId(palette, "paletteElement", "PaletteLine", name));
  if (line.isNull()) {
    line = newObject("PaletteLine");
    line.setAttr("id", name);
    line.setAttr("caption", name);
    line.setAttr("nr", "1");
    link(line, "palette", palette);
  }
  L0_Var_2 old = gr::stable(firstOver(type, "paletteElement", "PaletteElement"));
  if (old == line) return line;
  if (!old.isNull()) {
    if (usedByAnotherType(old, type))
      type.deleteLink(old, "paletteElement");
    else
      old.deleteObj();
  }
  link(type, "paletteElement", line);
  return line;
}
GR_ENTRY_SIGNATURE(L0_Func_add_paletteLine)

// A box kind's entry is its own and takes the caption; a shared line is
// renamed only while this type is its only user.
void L0_Func_palette_element_focusLost(L0_Var_2 type) {
  L0_Var_2 entry = firstOver(type, "paletteElement", "PaletteElement");
  if (entry.isNull()) return;
  if (isKind(entry, "PaletteLine") && usedByAnotherType(entry, type)) return;
  std::string caption = valueOf(type, "caption");
  entry.setAttr("id", caption);
  entry.setAttr("caption", caption);
}
GR_ENTRY_SIGNATURE(L0_Func_palette_element_focusLost)

void L0_Func_update_diagram_palette(L0_Var_2 element) {
  L0_Var_2 diagram = firstOver(element, "graphDiagram", "GraphDiagram");
  L0_Var_2 defined = firstOver(diagram, "target_type", "GraphDiagramType");
  L0_Var_2 first = firstOver(defined, "graphDiagram", "GraphDiagram");
  if (!first.isNull()) L0_Func_afterConfigCmd(first);
}
GR_ENTRY_SIGNATURE(L0_Func_update_diagram_palette)

#include "configurator/Palette_functions.h"

#include "configurator/Configurator_form.h"
#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::valueOf;
using gr::dlg::refreshComponent;

namespace {

bool usedByAnotherType(const L0_Var_2& entry, const L0_Var_2& type) {
  for (const L0_Var_2& other : gr::cfg::partnersOf(entry, "elemType", "ElemType"))
    if (other != type) return true;
  return false;
}

struct EntryClass {
  const char* elementClass;
  const char* paletteClass;
};
const EntryClass kEntryClasses[] = {{"FreeBox", "PaletteFreeBox"},
                                    {"Node", "PaletteBox"},
                                    {"FreeLine", "PaletteFreeLine"},
                                    {"Edge", "PaletteLine"},
                                    {"Port", "PalettePin"}};

std::string entryClassFor(const L0_Var_2& element) {
  for (const EntryClass& each : kEntryClasses)
    if (isKind(element, each.elementClass)) return each.paletteClass;
  return "";
}

L0_Var_2 typeOf(const L0_Var_2& element) {
  return gr::stable(firstOver(element, "target_type", "ElemType"));
}

L0_Var_2 entryOf(const L0_Var_2& type) {
  return gr::stable(firstOver(type, "paletteElement", "PaletteElement"));
}

// A shared palette line only lets the type go; any other entry is deleted.
void dropEntry(L0_Var_2& type) {
  L0_Var_2 entry = entryOf(type);
  if (entry.isNull()) return;
  if (usedByAnotherType(entry, type))
    type.deleteLink(entry, "paletteElement");
  else
    entry.deleteObj();
}

// Every handler of a palette row ends alike: the open diagrams of the
// defined type rebuild their palette, and the event is used up.
void finishPaletteEdit(const L0_Var_2& element) {
  if (!element.isNull()) L0_Func_update_diagram_palette(element);
  L0_Func_delete_event();
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

// ---- the palette rows of the type tab

std::string L0_Func_check_and_add_palette_element(L0_Var_2 element) {
  L0_Var_2 type = typeOf(element);
  if (type.isNull()) return "";
  L0_Var_2 entry = entryOf(type);
  if (!entry.isNull()) return getClassName(entry);
  std::string className = entryClassFor(element);
  L0_Var_2 palette = gr::stable(L0_Func_get_palette(element));
  if (className.empty() || palette.isNull()) return className;
  if (className == "PaletteLine")
    L0_Func_add_paletteLine(element, palette, valueOf(type, "caption"));
  else
    L0_Func_add_paletteElement(element, palette, className);
  return className;
}
GR_ENTRY_SIGNATURE(L0_Func_check_and_add_palette_element)

std::string L0_Func_get_palette_name(L0_Var_2 type) {
  return valueOf(entryOf(type), "caption");
}
GR_ENTRY_SIGNATURE(L0_Func_get_palette_name)

int L0_Func_get_palette_nr(L0_Var_2 type) {
  bool ok = true;
  int nr = gr::dlg::cellNumber(valueOf(entryOf(type), "nr"), ok);
  return ok ? nr : 0;
}
GR_ENTRY_SIGNATURE(L0_Func_get_palette_nr)

std::string L0_Func_get_palette_element_image(L0_Var_2 type) {
  return valueOf(entryOf(type), "picture");
}
GR_ENTRY_SIGNATURE(L0_Func_get_palette_element_image)

std::string L0_Func_get_icon_name(std::string path) {
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}
GR_ENTRY_SIGNATURE(L0_Func_get_icon_name)

void L0_Func_update_paletteElement_name() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 element = gr::cfg::typeElement();
  L0_Var_2 type = typeOf(element);
  if (field.isNull() || type.isNull()) {
    gr::showMessageBox("Error in update_paletteElement_name!");
    L0_Func_delete_event();
    return;
  }
  std::string name = valueOf(field, "text");
  L0_Func_check_and_add_palette_element(element);
  if (name.empty()) {
    dropEntry(type);
  } else {
    L0_Var_2 entry = entryOf(type);
    entry.setAttr("id", name);
    entry.setAttr("caption", name);
  }
  finishPaletteEdit(element);
}
GR_ENTRY_SIGNATURE(L0_Func_update_paletteElement_name)

void L0_Func_update_paletteLine_name() {
  L0_Var_2 combo = gr::dlg::eventSource();
  L0_Var_2 element = gr::cfg::typeElement();
  L0_Var_2 type = typeOf(element);
  L0_Var_2 palette = gr::stable(L0_Func_get_palette(element));
  if (combo.isNull() || type.isNull() || palette.isNull()) {
    gr::showMessageBox("Error in update_paletteLine_name!");
    L0_Func_delete_event();
    return;
  }
  std::string name = valueOf(combo, "text");
  if (name.empty()) {
    dropEntry(type);
  } else {
    L0_Var_2 line = gr::stable(L0_Func_add_paletteLine(element, palette, name));
    L0_Func_add_line_comboBox_items(combo);
    L0_Func_set_palette_nr_and_image_values(line);
  }
  refreshComponent(combo);
  finishPaletteEdit(element);
}
GR_ENTRY_SIGNATURE(L0_Func_update_paletteLine_name)

void L0_Func_update_paletteElement_nr() {
  L0_Var_2 field = gr::dlg::eventSource();
  L0_Var_2 element = gr::cfg::typeElement();
  L0_Var_2 type = typeOf(element);
  if (field.isNull() || type.isNull()) {
    gr::showMessageBox("Error in update_paletteElement_nr!");
    L0_Func_delete_event();
    return;
  }
  std::string text = valueOf(field, "text");
  bool ok = true;
  int nr = gr::dlg::cellNumber(text, ok);
  if (!ok) {
    L0_Var_2 form = gr::dlg::formOf(field);
    L0_Var_2 old = gr::stable(firstOver(form, "focused", "D#Component"));
    if (!old.isNull()) form.deleteLink(old, "focused");
    link(form, "focused", field);
    refreshComponent(field);
    L0_Func_delete_event();
    return;
  }
  if (text.empty()) {
    dropEntry(type);
  } else {
    L0_Func_check_and_add_palette_element(element);
    entryOf(type).setAttr("nr", nr);
  }
  finishPaletteEdit(element);
}
GR_ENTRY_SIGNATURE(L0_Func_update_paletteElement_nr)

void L0_Func_update_paletteElement_icon() {
  L0_Var_2 image = gr::dlg::eventSource();
  L0_Var_2 element = gr::cfg::typeElement();
  L0_Var_2 type = typeOf(element);
  if (image.isNull() || type.isNull()) {
    gr::showMessageBox("Error in update_paletteBox_icon!");
    L0_Func_delete_event();
    return;
  }
  L0_Func_check_and_add_palette_element(element);
  L0_Var_2 entry = entryOf(type);
  if (!entry.isNull()) entry.setAttr("picture", L0_Func_get_icon_name(valueOf(image, "fileName")));
  finishPaletteEdit(element);
}
GR_ENTRY_SIGNATURE(L0_Func_update_paletteElement_icon)

void L0_Func_add_line_comboBox_items(L0_Var_2 comboBox) {
  std::vector<L0_Var_2> old;
  for (const L0_Var_2& item : gr::cfg::partnersOf(comboBox, "item", "D#Item"))
    old.push_back(gr::stable(item));
  for (L0_Var_2& item : old) item.deleteObj();
  L0_Var_2 palette = L0_Func_get_palette(gr::cfg::typeElement());
  for (const L0_Var_2& entry : gr::cfg::partnersOf(palette, "paletteElement", "PaletteElement"))
    if (isKind(entry, "PaletteLine")) L0_Func_add_item(comboBox, valueOf(entry, "caption"));
}
GR_ENTRY_SIGNATURE(L0_Func_add_line_comboBox_items)

void L0_Func_set_palette_nr_and_image_values(L0_Var_2 entry) {
  L0_Var_2 form = gr::firstWith("D#Form", "id", "Configurator_form");
  L0_Var_2 nr = L0_Func_get_component_from_container_by_id(form, "palette_element_nr");
  if (!nr.isNull()) {
    nr.setAttr("text", valueOf(entry, "nr"));
    refreshComponent(nr);
  }
  L0_Var_2 image = L0_Func_get_component_from_container_by_id(form, "image");
  if (!image.isNull()) {
    image.setAttr("fileName", valueOf(entry, "picture"));
    refreshComponent(image);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_set_palette_nr_and_image_values)

#include "configurator/Type_diagram.h"

#include "configurator/Configurator_utilities.h"
#include "configurator/Dialog_utilities.h"
#include "configurator/Palette_functions.h"
#include "platform/repository.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOver;
using gr::stable;
using gr::cfg::isKind;
using gr::cfg::link;
using gr::cfg::newObject;
using gr::cfg::setValues;
using gr::cfg::valueOf;

namespace {

struct Kind {
  const char* elementClass;
  const char* typeClass;
  const char* styleClass;
  const char* name;
  const char* paletteClass;
  const char* templateStyle;
  bool line;
};

const Kind kKinds[] = {
    {"FreeBox", "NodeType", "NodeStyle", "NewFreeBox", "PaletteFreeBox", "freeBox", false},
    {"Node", "NodeType", "NodeStyle", "NewNode", "PaletteBox", "box", false},
    {"FreeLine", "EdgeType", "EdgeStyle", "NewFreeLine", "PaletteFreeLine", "freeLine", true},
    {"Edge", "EdgeType", "EdgeStyle", "NewEdge", "PaletteLine", "line", true},
};

const Kind* kindOf(const L0_Var_2& element) {
  for (const Kind& kind : kKinds)
    if (isKind(element, kind.elementClass)) return &kind;
  return nullptr;
}

gr::cfg::Values typeValues(const Kind& kind) {
  gr::cfg::Values values = {{"id", kind.name},
                            {"caption", kind.name},
                            {"l2ClickEvent", "properties_test"},
                            {"procProperties", "properties_test"},
                            {"nr", "0"},
                            {"isStereotypable", "false"}};
  if (kind.line) return values;
  return gr::cfg::join({values,
                        {{"procDeleteElement", "default_delete_element"},
                         {"openPropertiesOnElementCreate", "true"},
                         {"has_occurrences", "false"},
                         {"isContainerMandatory", "false"}}});
}

void moveIntoStyle(L0_Var_2& element, L0_Var_2& style) {
  L0_Var_2 old = stable(firstOver(element, "elemStyle", "ElemStyle"));
  if (!old.isNull()) element.deleteLink(old, "elemStyle");
  link(element, "elemStyle", style);
}

// A line drawn with the seeded "Line" entry joins two types: the new type
// admits lines between them.
void addPairOfEnds(L0_Var_2& line, L0_Var_2& type) {
  L0_Var_2 start = firstOver(firstOver(line, "start", "Element"), "target_type", "ElemType");
  L0_Var_2 end = firstOver(firstOver(line, "end", "Element"), "target_type", "ElemType");
  if (start.isNull() || end.isNull()) return;
  L0_Var_2 pair = newObject("Pair");
  link(type, "pair", pair);
  link(pair, "start", start);
  link(pair, "end", end);
}

void addMenuAndKeys(L0_Var_2& type, bool line) {
  L0_Var_2 popUp = newObject("PopUpDiagram");
  popUp.setAttr("id", line ? "line" : "box");
  link(type, "popUpDiagram", popUp);
  if (line) {
    L0_Func_add_key_shortcut(type, "keyboardShortcut", "Delete", "delete");
    L0_Func_add_PopUpElement(popUp, "Delete", "delete");
  } else {
    L0_Func_add_PopUpElement(popUp, "Delete", "delete");
    L0_Func_add_PopUpElement(popUp, "Cut", "cut");
    L0_Func_add_PopUpElement(popUp, "Copy", "copy");
    L0_Func_add_default_keyshortcuts(type, "keyboardShortcut");
  }
  L0_Func_add_PopUpElement(popUp, "Properties", "properties_test");
}

bool defineType(L0_Var_2& element) {
  const Kind* kind = kindOf(element);
  L0_Var_2 diagram = stable(firstOver(element, "graphDiagram", "GraphDiagram"));
  L0_Var_2 defined = stable(firstOver(diagram, "target_type", "GraphDiagramType"));
  if (!kind || defined.isNull()) return false;
  std::string templateId = kind->templateStyle;
  L0_Var_2 drawnType = firstOver(element, "elemType", "ElemType");
  if (kind->line && valueOf(drawnType, "id") == "diagramLine") templateId = "diagramLine";
  L0_Var_2 templateStyle = stable(L0_Func_get_ElemStyle_by_id(templateId));
  L0_Var_2 type = newObject(kind->typeClass);
  L0_Var_2 style = newObject(kind->styleClass);
  if (type.isNull() || style.isNull()) return false;
  setValues(type, typeValues(*kind));
  link(type, "graphDiagramType", defined);
  link(type, "elemStyle", style);
  link(element, "target_type", type);
  std::string typeId = valueOf(drawnType, "id");
  if (kind->line && (typeId == "line" || typeId == "diagramLine")) addPairOfEnds(element, type);
  L0_Var_2 palette = stable(L0_Func_get_palette(element));
  L0_Var_2 entry = kind->line ? L0_Func_add_paletteLine(element, palette, kind->name)
                              : L0_Func_add_paletteElement(element, palette, kind->paletteClass);
  if (entry.isNull()) return false;
  entry.setAttr("caption", kind->name);
  entry.setAttr("id", kind->name);
  if (!templateStyle.isNull()) L0_Func_copy_class_with_attributes(templateStyle, style);
  style.setAttr("id", kind->line ? "NewElement2" : kind->name);
  style.setAttr("caption", kind->name);
  moveIntoStyle(element, style);
  addMenuAndKeys(type, kind->line);
  return true;
}

}  // namespace

void L0_Func_add_type(L0_Var_2 element) {
  if (element.isNull()) return;
  if (!firstOver(element, "target_type", "ElemType").isNull()) return;
  if (!defineType(element)) gr::showMessageBox("Error in add_type");
}
GR_ENTRY_SIGNATURE(L0_Func_add_type)

void L0_Func_add_portType(L0_Var_2 pin) {
  L0_Var_2 boxType = stable(firstOver(firstOver(pin, "node", "Node"), "target_type", "ElemType"));
  L0_Var_2 defined = stable(firstOver(boxType, "graphDiagramType", "GraphDiagramType"));
  L0_Var_2 type = newObject("PortType");
  L0_Var_2 style = newObject("PortStyle");
  if (boxType.isNull() || defined.isNull() || type.isNull() || style.isNull()) {
    gr::showMessageBox("Error in add_portType");
    return;
  }
  setValues(type, {{"id", "NewPort"},
                   {"caption", "NewPort"},
                   {"l2ClickEvent", "properties_test"},
                   {"procProperties", "properties_test"},
                   {"procDeleteElement", "default_delete_element"}});
  setValues(style, {{"id", "NewPort"},
                    {"caption", "NewPort"},
                    {"shapeCode", "1"},
                    {"shapeStyle", "0"},
                    {"lineWidth", "1"},
                    {"dashLength", "0"},
                    {"breakLength", "0"},
                    {"bkgColor", "12615680"},
                    {"lineColor", "0"},
                    {"picture", ""},
                    {"width", "20"},
                    {"height", "20"},
                    {"alignment", "0"}});
  link(type, "nodeType", boxType);
  link(pin, "target_type", type);
  link(type, "graphDiagramType", defined);
  link(type, "elemStyle", style);
  moveIntoStyle(pin, style);
  L0_Var_2 entry = L0_Func_add_paletteElement(pin, L0_Func_get_palette(pin), "PalettePin");
  if (entry.isNull()) {
    gr::showMessageBox("Error in add_portType");
    return;
  }
  entry.setAttr("id", "NewPort");
  entry.setAttr("caption", "NewPort");
}
GR_ENTRY_SIGNATURE(L0_Func_add_portType)

L0_Var_2 L0_Func_add_elemType(L0_Var_2 element) {
  L0_Var_2 type = newObject("NodeType");
  L0_Var_2 style = newObject("NodeStyle");
  if (type.isNull() || style.isNull()) return type;
  setValues(type, {{"id", "NewElement"}, {"caption", "NewElement"}});
  setValues(style, {{"id", "NewElement"}, {"caption", "NewElement"}});
  link(type, "elemStyle", style);
  if (!element.isNull()) link(element, "target_type", type);
  return type;
}
GR_ENTRY_SIGNATURE(L0_Func_add_elemType)

void L0_Func_copy_class_with_attributes(L0_Var_2 from, L0_Var_2 to) {
  RepIdList* attributes = GetPropertyTypeIdList(from.actualClassId());
  for (uint32_t i = 0; attributes && i < RepIdListCount(attributes); ++i) {
    RepId attribute = RepIdListItem(attributes, i);
    if (GetPropertyTypeIdByName(to.actualClassId(), GetTypeName(attribute)) != attribute) continue;
    std::string value = from.getAttr(attribute);
    if (value.empty() && GetPropertyBaseType(attribute) != REP_STRING) continue;
    to.setAttrById(attribute, value);
  }
  if (attributes) RepIdListFree(attributes);
}
GR_ENTRY_SIGNATURE(L0_Func_copy_class_with_attributes)

// ---- specialisation lines and moved line ends

namespace {

L0_Var_2 typeAt(const L0_Var_2& edge, const char* role) {
  return stable(firstOver(firstOver(edge, role, "Element"), "target_type", "ElemType"));
}

L0_Var_2 typeOfElement(const L0_Var_2& element) {
  return stable(firstOver(element, "target_type", "ElemType"));
}

void unlinkBothWays(L0_Var_2& a, L0_Var_2& b) {
  for (const char* role : {"supertype", "subtype"}) {
    if (a.checkLink(b, role)) a.deleteLink(b, role);
    if (b.checkLink(a, role)) b.deleteLink(a, role);
  }
}

// The line type's pair, the ordinary one or the reverse one of a symmetric type.
L0_Var_2 pairOf(const L0_Var_2& lineType, bool reverse) {
  for (const L0_Var_2& pair : gr::cfg::partnersOf(lineType, "pair", "Pair"))
    if ((valueOf(pair, "id") == "Is_simetric") == reverse) return stable(pair);
  return L0_Var_2("Pair");
}

// The type element of the open element-type dialog.
L0_Var_2 dialogElement() {
  return stable(firstOver(gr::firstWith("D#Form", "id", "Configurator_form"), "presentationElement",
                          "Element"));
}

void enableReverseBoxes(bool enabled) {
  L0_Var_2 form = gr::firstWith("D#Form", "id", "Configurator_form");
  for (const char* id : {"reverse_start", "reverse_end"}) {
    L0_Var_2 box = L0_Func_get_component_from_container_by_id(form, id);
    if (box.isNull()) continue;
    box.setAttr("enabled", enabled ? "true" : "false");
    L0_Func_d_componentRefreshCmd(box);
  }
}

}  // namespace

void L0_Func_create_subtype(L0_Var_2 edge) {
  L0_Var_2 start = typeAt(edge, "start");
  L0_Var_2 end = typeAt(edge, "end");
  if (start.isNull() || end.isNull() || !start.addLink(end, "supertype"))
    gr::showMessageBox("Error in create_subtype");
}
GR_ENTRY_SIGNATURE(L0_Func_create_subtype)

void L0_Func_delete_subtype(L0_Var_2 edge) {
  if (!isKind(edge, "Edge")) return;
  L0_Var_2 start = typeAt(edge, "start");
  L0_Var_2 end = typeAt(edge, "end");
  if (start.isNull() || end.isNull()) {
    gr::showMessageBox("Error in delete_subtype");
    return;
  }
  unlinkBothWays(start, end);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_subtype)

void L0_Func_move_subtype(L0_Var_2 edge, L0_Var_2 oldElement, L0_Var_2 newElement) {
  L0_Var_2 oldType = typeOfElement(oldElement);
  L0_Var_2 newType = typeOfElement(newElement);
  bool endMoved = firstOver(edge, "end", "Element") == newElement;
  L0_Var_2 other = typeAt(edge, endMoved ? "start" : "end");
  if (oldType.isNull() || newType.isNull() || other.isNull()) {
    gr::showMessageBox("Error in move_subtype");
    return;
  }
  if (endMoved) {
    unlinkBothWays(other, oldType);
    link(other, "supertype", newType);
  } else {
    unlinkBothWays(oldType, other);
    link(newType, "supertype", other);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_move_subtype)

void L0_Func_move_linetype(L0_Var_2 edge, L0_Var_2 oldElement, L0_Var_2 newElement) {
  L0_Var_2 lineType = typeOfElement(edge);
  L0_Var_2 pair = pairOf(lineType, false);
  L0_Var_2 newType = typeOfElement(newElement);
  (void)oldElement;
  if (pair.isNull() || newType.isNull()) {
    gr::showMessageBox("Error in move_linetype");
    return;
  }
  const char* end = firstOver(edge, "end", "Element") == newElement ? "end" : "start";
  L0_Var_2 old = stable(firstOver(pair, end, "ElemType"));
  if (!old.isNull()) pair.deleteLink(old, end);
  link(pair, end, newType);
}
GR_ENTRY_SIGNATURE(L0_Func_move_linetype)

void L0_Func_simetric_pair() {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 lineType = typeOfElement(dialogElement());
  if (!box.isNull() && isKind(lineType, "EdgeType")) {
    bool simetric = valueOf(box, "checked") == "true";
    lineType.setAttr("isSimetric", simetric ? "true" : "false");
    L0_Func_make_isSimetric_pair(lineType, simetric);
  }
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_simetric_pair)

void L0_Func_make_isSimetric_pair(L0_Var_2 lineType, bool simetric) {
  L0_Var_2 pair = pairOf(lineType, false);
  L0_Var_2 start = stable(firstOver(pair, "start", "ElemType"));
  L0_Var_2 end = stable(firstOver(pair, "end", "ElemType"));
  if (pair.isNull() || start.isNull() || end.isNull()) {
    gr::showMessageBox("Error in make_isSimetric_pair");
    return;
  }
  L0_Var_2 reverse = pairOf(lineType, true);
  if (simetric && reverse.isNull()) {
    reverse = newObject("Pair");
    reverse.setAttr("id", "Is_simetric");
    link(lineType, "pair", reverse);
    link(reverse, "start", end);
    link(reverse, "end", start);
  } else if (!simetric && !reverse.isNull()) {
    reverse.deleteObj();
  }
  enableReverseBoxes(simetric);
}
GR_ENTRY_SIGNATURE(L0_Func_make_isSimetric_pair)

void L0_Func_reverse_pair_start() {
  L0_Func_reverse_pair("start");
}
GR_ENTRY_SIGNATURE(L0_Func_reverse_pair_start)

void L0_Func_reverse_pair_end() {
  L0_Func_reverse_pair("end");
}
GR_ENTRY_SIGNATURE(L0_Func_reverse_pair_end)

// "Is Reverse ->" belongs to the ordinary pair, "Is Reverse <-" to the
// reverse pair of a symmetric line type.
void L0_Func_reverse_pair(std::string which) {
  L0_Var_2 box = gr::dlg::eventSource();
  L0_Var_2 pair = pairOf(typeOfElement(dialogElement()), which == "end");
  if (box.isNull() || pair.isNull())
    gr::showMessageBox("Error in get_pair_attr_bool_value");
  else
    pair.setAttr("reverse", valueOf(box, "checked") == "true" ? "true" : "false");
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_reverse_pair)

#include "configurator/Seeding.h"

namespace gr::cfg {

namespace {

const std::string& orId(const std::string& caption, const std::string& id) {
  return caption.empty() ? id : caption;
}

L0_Var_2 elemTypeOf(const L0_Var_2& diagramType, const std::string& id) {
  return partnerWithId(diagramType, "elemType", "ElemType", id);
}

void addStyle(L0_Var_2& elemType, const StyleSpec& spec) {
  L0_Var_2 style = newObject(spec.className);
  if (style.isNull()) return;
  style.setAttr("id", spec.id);
  style.setAttr("caption", orId(spec.caption, spec.id));
  setValues(style, spec.values);
  link(elemType, "elemStyle", style);
  for (const CompartStyleSpec& compartSpec : spec.compartStyles) {
    L0_Var_2 compartStyle = newObject("CompartStyle");
    if (compartStyle.isNull()) continue;
    compartStyle.setAttr("id", compartSpec.id);
    compartStyle.setAttr("caption", compartSpec.id);
    setValues(compartStyle, compartSpec.values);
    link(style, "compartStyle", compartStyle);
  }
}

void addKeys(L0_Var_2& elemType, Keys keys) {
  if (keys == Keys::standard) L0_Func_add_default_keyshortcuts(elemType, "keyboardShortcut");
  if (keys != Keys::line) return;
  L0_Func_add_key_shortcut(elemType, "keyboardShortcut", "Delete", "delete");
  L0_Func_add_key_shortcut(elemType, "keyboardShortcut", "Application", "RClick");
}

void addElemTypePopUp(L0_Var_2& elemType, const PopUpSpec& spec) {
  L0_Var_2 popUp = newObject("PopUpDiagram");
  if (popUp.isNull()) return;
  popUp.setAttr("id", spec.id);
  link(elemType, "popUpDiagram", popUp);
  addPopUpItems(popUp, spec.items);
}

void addNameCompartment(L0_Var_2& elemType) {
  L0_Var_2 compartType = newObject("CompartType");
  if (compartType.isNull()) return;
  setValues(compartType, {{"id", "AS#Name"}, {"caption", "AS#Name"}, {"isEssential", "true"}});
  link(elemType, "compartType", compartType);
  L0_Var_2 compartStyle = newObject("CompartStyle");
  if (compartStyle.isNull()) return;
  compartStyle.setAttr("id", "AS#Name");
  compartStyle.setAttr("caption", "AS#Name");
  setValues(compartStyle, compartStyleValues("1", 1, 0, 0, 1));
  link(compartType, "compartStyle", compartStyle);
}

void addStyleNameRow(L0_Var_2& elemType) {
  int nr = L0_Func_get_max_CompartType_nr(elemType) + 1;
  L0_Var_2 compartType = newObject("CompartType");
  if (compartType.isNull()) return;
  setValues(compartType, {{"id", "Name"}, {"caption", "Name"}});
  compartType.setAttr("nr", nr);
  link(elemType, "compartType", compartType);
  L0_Var_2 propertyDiagram = newObject("PropertyDiagram");
  if (propertyDiagram.isNull()) return;
  propertyDiagram.setAttr("id", elemType.getAttrOfActualClass("id"));
  link(propertyDiagram, "elemType", elemType);
  L0_Var_2 row = newObject("PropertyRow");
  if (row.isNull()) return;
  setValues(row, {{"id", "name"}, {"rowType", "InputRow"}});
  link(propertyDiagram, "propertyRow", row);
  link(compartType, "propertyRow", row);
}

void seedElemType(L0_Var_2& diagramType, L0_Var_2& palette, const ElemTypeSpec& spec) {
  L0_Var_2 type = newObject(spec.className);
  if (type.isNull()) return;
  type.setAttr("id", spec.id);
  type.setAttr("caption", orId(spec.caption, spec.id));
  setValues(type, spec.values);
  link(diagramType, "elemType", type);
  addStyle(type, spec.style);
  addKeys(type, spec.keys);
  if (!spec.paletteEntry.empty())
    L0_Func_connect_elemType_to_palette_by_name(type, palette, spec.paletteEntry);
  if (spec.popUp) addElemTypePopUp(type, *spec.popUp);
  if (spec.nameCompartment) addNameCompartment(type);
  if (spec.styleNameRow) addStyleNameRow(type);
  if (!spec.portOf.empty()) L0_Func_add_portType_nodeType(type, spec.portOf);
  for (const std::string& subtypeId : spec.subtypes)
    link(type, "subtype", elemTypeOf(diagramType, subtypeId));
  for (const PairSpec& pair : spec.pairs)
    L0_Func_const_add_pair(type, pair.start, pair.end, pair.id);
}

}  // namespace

void addPopUpItems(L0_Var_2& popUp, const PopUpItems& items) {
  for (const PopUpItem& item : items) {
    L0_Var_2 element = L0_Func_add_PopUpElement(popUp, item.caption, item.procedure);
    if (item.nr != 0 && !element.isNull()) element.setAttr("nr", item.nr);
  }
}

L0_Var_2 addDiagramPopUp(L0_Var_2& diagramType, const std::string& role, const std::string& id,
                         const PopUpItems& items) {
  L0_Var_2 popUp = newObject("PopUpDiagram");
  if (popUp.isNull()) return popUp;
  if (!id.empty()) popUp.setAttr("id", id);
  link(popUp, role, diagramType);
  addPopUpItems(popUp, items);
  return popUp;
}

L0_Var_2 addPalette(L0_Var_2& diagramType, const std::vector<PaletteEntry>& entries) {
  L0_Var_2 palette = newObject("Palette");
  if (palette.isNull()) return palette;
  link(diagramType, "palette", palette);
  for (const PaletteEntry& spec : entries) {
    L0_Var_2 entry = newObject(spec.className);
    if (entry.isNull()) continue;
    setValues(entry, {{"id", spec.id}, {"caption", spec.caption}, {"picture", spec.picture}});
    entry.setAttr("nr", spec.nr);
    link(palette, "paletteElement", entry);
  }
  return palette;
}

L0_Var_2 addToolbar(L0_Var_2& diagramType) {
  L0_Var_2 toolbar = newObject("Toolbar");
  if (!toolbar.isNull()) link(diagramType, "toolbar", toolbar);
  return toolbar;
}

void addPairs(L0_Var_2& diagramType, const std::string& lineTypeId, const Pairs& pairs) {
  L0_Var_2 lineType = elemTypeOf(diagramType, lineTypeId);
  if (lineType.isNull()) {
    traceFailure("Link was not created");
    return;
  }
  for (const PairSpec& pair : pairs)
    L0_Func_const_add_pair(lineType, pair.start, pair.end, pair.id);
}

void seedElemTypes(L0_Var_2& diagramType, L0_Var_2& palette,
                   const std::vector<ElemTypeSpec>& types) {
  for (const ElemTypeSpec& spec : types) seedElemType(diagramType, palette, spec);
}

// ---- shared rows

const Values& clipboardProcedures() {
  static const Values values = {{"procPasted", "element_pasted"},
                                {"procCopied", "element_copied"},
                                {"procClipboardCleared", "delete_special"}};
  return values;
}

const Values& boxProcedures() {
  static const Values values = {{"procCreateElementDomain", "add_type"},
                                {"procDeleteElementDomain", "delete_special"},
                                {"l2ClickEvent", "l2Click_BoxProperties"},
                                {"procProperties", "l2Click_BoxProperties"},
                                {"openPropertiesOnElementCreate", "true"}};
  return values;
}

const Values& plainBoxFlags() {
  static const Values values = {{"nr", "0"},
                                {"isStereotypable", "false"},
                                {"has_occurrences", "false"},
                                {"isContainerMandatory", "false"}};
  return values;
}

const PopUpItems& boxPopUpItems() {
  static const PopUpItems items = {{"Cut", "cut"},
                                   {"Copy", "copy"},
                                   {"Delete", "delete"},
                                   {"Properties", "l2Click_BoxProperties"},
                                   {"Add BoxStyle", "new_ElemStyle1"},
                                   {"Add CompartStyles", "make_compartment_style_form"},
                                   {"Make Property Diagram Order", "make_property_diagram_order"}};
  return items;
}

PopUpItems linePopUpItems(const std::string& deleteProcedure) {
  return {{"Delete", deleteProcedure},
          {"Properties", "l2Click_BoxProperties"},
          {"Make Line Styles", "add_line_elemStyle"},
          {"Make Compartment Styles", "make_compartment_style_form"},
          {"Make Property Diagram Order", "make_property_diagram_order"}};
}

Values pinStyleValues(const std::string& bkgColor, int width, int height) {
  return {{"shapeCode", "1"},
          {"shapeStyle", "0"},
          {"lineWidth", "1"},
          {"dashLength", "0"},
          {"breakLength", "0"},
          {"alignment", "0"},
          {"lineColor", "0"},
          {"picture", ""},
          {"bkgColor", bkgColor},
          {"width", std::to_string(width)},
          {"height", std::to_string(height)}};
}

Values boxStyleValues(const std::string& bkgColor, int width, int height) {
  return join({pinStyleValues(bkgColor, width, height),
               {{"picWidth", "0"}, {"picHeight", "0"}, {"picPos", "1"}, {"picStyle", "0"}}});
}

Values plainBoxStyleValues() {
  return boxStyleValues("15655141", 110, 45);
}

namespace {

Values lineEndValues(const std::string& prefix, const LineEnd& end) {
  return {{prefix + "ShapeCode", std::to_string(end.shape)},
          {prefix + "LineWidth", std::to_string(end.width)},
          {prefix + "LineColor", end.color},
          {prefix + "DashLength", std::to_string(end.dashLength)},
          {prefix + "BreakLength", std::to_string(end.breakLength)},
          {prefix + "BkgColor", end.bkgColor}};
}

}  // namespace

Values lineStyleValues(int lineWidth, const std::string& lineColor, int lineType,
                       const LineEnd& start, const LineEnd& end) {
  return join({{{"shapeCode", "1"},
                {"shapeStyle", "0"},
                {"dashLength", "0"},
                {"breakLength", "0"},
                {"bkgColor", "15790320"},
                {"lineWidth", std::to_string(lineWidth)},
                {"lineColor", lineColor},
                {"lineType", std::to_string(lineType)}},
               lineEndValues("start", start),
               lineEndValues("middle", LineEnd{}),
               lineEndValues("end", end)});
}

Values arrowLineStyleValues() {
  return lineStyleValues(1, "0", 16, {1, 1, "0"}, {3, 1, "0"});
}

Values specialisationStyleValues() {
  return lineStyleValues(2, "12632256", 16, {1, 1, "0"}, {11, 2, "12632256"});
}

Values compartStyleValues(const std::string& nr, int alignment, int adornment, int fontStyle,
                          int isVisible) {
  Values values = {{"adjustment", "0"},
                   {"picture", ""},
                   {"picWidth", "0"},
                   {"picHeight", "0"},
                   {"picPos", "1"},
                   {"picStyle", "0"},
                   {"lineWidth", "1"},
                   {"lineColor", "0"},
                   {"fontTypeFace", "Arial"},
                   {"fontCharSet", "1"},
                   {"fontColor", "0"},
                   {"fontSize", "9"},
                   {"fontPitch", "0"},
                   {"alignment", std::to_string(alignment)},
                   {"adornment", std::to_string(adornment)},
                   {"fontStyle", std::to_string(fontStyle)},
                   {"isVisible", std::to_string(isVisible)}};
  if (!nr.empty()) values.push_back({"nr", nr});
  return values;
}

// ---- shared element types

ElemTypeSpec nodeStyleType() {
  return {.className = "NodeType",
          .id = "NodeStyle",
          .values = join({{{"procDeleteElement", "delete_style"},
                           {"l2ClickEvent", "make_elemStyle_properties"},
                           {"procProperties", "make_elemStyle_properties"},
                           {"openPropertiesOnElementCreate", "true"}},
                          clipboardProcedures()}),
          .style = {.className = "NodeStyle",
                    .id = "NodeStyle",
                    .values = boxStyleValues("13417286", 50, 50),
                    .compartStyles = {{"name", compartStyleValues("1", 1, 1, 2, 1)}}},
          .popUp = PopUpSpec{"NodeStyle",
                             {{"Delete", "delete"}, {"Properties", "make_elemStyle_properties"}}},
          .styleNameRow = true};
}

ElemTypeSpec pinType(const std::string& boxTypeId) {
  return {.className = "PortType",
          .id = "pin",
          .values = join({{{"procCreateElementDomain", "add_portType"},
                           {"l2ClickEvent", "l2Click_BoxProperties"},
                           {"procProperties", "l2Click_BoxProperties"},
                           {"openPropertiesOnElementCreate", "false"}},
                          clipboardProcedures()}),
          .style = {.className = "PortStyle",
                    .id = "pin",
                    .values = pinStyleValues("12615680", 20, 20)},
          .keys = Keys::line,
          .paletteEntry = "Pin",
          .popUp = PopUpSpec{"pin",
                             {{"Delete", "delete"},
                              {"Properties", "l2Click_BoxProperties"},
                              {"Make Property Diagram Order", "make_property_diagram_order"}}},
          .portOf = boxTypeId};
}

ElemTypeSpec freeBoxType() {
  return {.className = "NodeType",
          .id = "freeBox",
          .values = join({boxProcedures(), clipboardProcedures(), plainBoxFlags()}),
          .style = {.className = "NodeStyle",
                    .id = "freeBox",
                    .values = boxStyleValues("15503699", 110, 45)},
          .keys = Keys::standard,
          .paletteEntry = "FreeBox",
          .popUp = PopUpSpec{"freeBox", boxPopUpItems()},
          .nameCompartment = true};
}

ElemTypeSpec freeLineType(bool openProperties) {
  return {.className = "EdgeType",
          .id = "freeLine",
          .values = join({{{"procCreateElementDomain", "add_type"},
                           {"procDeleteElementDomain", "delete_elem"},
                           {"l2ClickEvent", "l2Click_BoxProperties"},
                           {"procProperties", "l2Click_BoxProperties"},
                           {"openPropertiesOnElementCreate", openProperties ? "true" : "false"}},
                          clipboardProcedures()}),
          .style = {.className = "EdgeStyle", .id = "freeLine", .values = arrowLineStyleValues()},
          .keys = Keys::standard,
          .paletteEntry = "FreeLine",
          .popUp = PopUpSpec{"freeLine", linePopUpItems("")}};
}

ElemTypeSpec styleLineType(const Pairs& pairs) {
  return {.className = "EdgeType",
          .id = "styleLine",
          .style = {.className = "EdgeStyle",
                    .id = "styleLine",
                    .values = lineStyleValues(2, "12632256", 1,
                                              {10, 1, "12632256", 8, 8, "12632256"}, {1, 1, "0"})},
          .popUp = PopUpSpec{"styleLine", {{"Delete", ""}, {"Properties", "properties_test"}}},
          .pairs = pairs};
}

}  // namespace gr::cfg

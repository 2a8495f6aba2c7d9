#include "configurator/Configurator_utilities.h"

#include <algorithm>

#include "tool/Utilities.h"

namespace gr::cfg {

bool isKind(const L0_Var_2& object, const std::string& className) {
  if (object.isNull()) return false;
  RepId classId = RepositoryUser::getObjectTypeIdByName(className);
  return classId != 0 && RepositoryUser::isSubclass(classId, object.actualClassId());
}

std::string valueOf(const L0_Var_2& object, const std::string& attribute) {
  if (object.isNull()) return "";
  RepId attr = RepositoryUser::getPropertyTypeIdByName(object.actualClassId(), attribute);
  return attr == 0 ? "" : object.getAttr(attr);
}

bool flagOf(const L0_Var_2& object, const std::string& attribute) {
  std::string value = valueOf(object, attribute);
  return value == "true" || value == "1";
}

Values join(std::initializer_list<Values> parts) {
  Values all;
  for (const Values& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

void setValues(L0_Var_2& object, const Values& values) {
  for (const Value& v : values) object.setAttr(v.name, v.value);
}

void traceFailure(const std::string& text) {
  Logger& log = Logger::instance();
  log.endLine();
  log.indent();
  log.write("!!! " + text);
  log.endLine();
  log.write("");
}

L0_Var_2 newObject(const std::string& className) {
  L0_Var_2 object(className);
  object.addObj(className);
  if (object.isNull()) traceFailure("Object was not created");
  return object;
}

// A null side is traced rather than shown: the object it stands for already
// failed, and seeding shows no message boxes.
bool link(L0_Var_2& from, const std::string& role, const L0_Var_2& to) {
  if (!from.isNull() && !to.isNull() && from.addLink(to, role)) return true;
  traceFailure("Link was not created");
  return false;
}

std::vector<L0_Var_2> partnersOf(const L0_Var_2& from, const std::string& role,
                                 const std::string& className) {
  std::vector<L0_Var_2> result;
  if (from.isNull()) return result;
  L0_Var_2 partner(className);
  for (bool found = partner.setFirstByRelation(from, role); found; found = partner.next())
    result.push_back(partner);
  return result;
}

L0_Var_2 partnerWithId(const L0_Var_2& from, const std::string& role, const std::string& className,
                       const std::string& id) {
  L0_Var_2 partner(className);
  if (from.isNull()) return partner;
  for (bool found = partner.setFirstByRelation(from, role); found; found = partner.next())
    if (partner.getAttrOfActualClass("id") == id) return partner;
  partner.setNull();
  return partner;
}

const Values& commonDiagramValues() {
  static const Values values = {{"layoutMode", "0"},
                                {"layoutAlgorithm", "3"},
                                {"bkgColor", "16775408"},
                                {"screenZoom", "1000"},
                                {"printZoom", "1000"}};
  return values;
}

L0_Var_2 newDiagramType(const std::string& id, const std::string& caption) {
  L0_Var_2 type = newObject("GraphDiagramType");
  if (type.isNull()) return type;
  type.setAttr("id", id);
  if (!caption.empty()) type.setAttr("caption", caption);
  setValues(type, commonDiagramValues());
  return type;
}

std::vector<L0_Var_2> stablePartners(const L0_Var_2& from, const std::string& role,
                                     const std::string& className) {
  std::vector<L0_Var_2> result;
  for (const L0_Var_2& each : partnersOf(from, role, className)) result.push_back(stable(each));
  return result;
}

}  // namespace gr::cfg

namespace {

using gr::cfg::link;
using gr::cfg::newObject;

int maxNr(const L0_Var_2& owner, const std::string& role, const std::string& className) {
  int largest = 0;
  for (const L0_Var_2& item : gr::cfg::partnersOf(owner, role, className))
    largest = std::max(largest, item.getAttrInt("nr"));
  return largest;
}

// The element type of the line type's diagram type whose `id` is ID.
L0_Var_2 elemTypeOfSameDiagram(const L0_Var_2& elemType, const std::string& id) {
  L0_Var_2 diagramType = gr::firstOver(elemType, "graphDiagramType", "GraphDiagramType");
  L0_Var_2 found = gr::cfg::partnerWithId(diagramType, "elemType", "ElemType", id);
  if (found.isNull()) gr::showMessageBox("get_elemType_by_id, nav elemType ar id " + id);
  return found;
}

// The values of a new compartment style; `textDirection` stays unset.
const gr::cfg::Value kCompartStyleDefaults[] = {
    {"id", "CompartStyle"}, {"caption", "CompartStyle"}, {"nr", "0"},
    {"alignment", "0"},     {"adjustment", "0"},         {"adornment", "0"},
    {"lineWidth", "1"},     {"lineColor", "0"},          {"fontTypeFace", "Arial"},
    {"fontCharSet", "1"},   {"fontColor", "0"},          {"fontSize", "9"},
    {"fontPitch", "0"},     {"fontStyle", "0"},          {"picture", ""},
    {"picWidth", "0"},      {"picHeight", "0"},          {"picPos", "1"},
    {"picStyle", "0"},      {"isVisible", "1"},
};

// Every attribute the class of FROM has, so that attributes added to the
// metamodel later are copied too. An empty value of a typed attribute is
// not written: the store would refuse it.
void copyAttributes(const L0_Var_2& from, L0_Var_2& to) {
  RepIdList* attributes = GetPropertyTypeIdList(from.actualClassId());
  for (uint32_t i = 0; i < RepIdListCount(attributes); ++i) {
    RepId attribute = RepIdListItem(attributes, i);
    std::string value = from.getAttr(attribute);
    if (value.empty() && GetPropertyBaseType(attribute) != REP_STRING) continue;
    to.setAttrById(attribute, value);
  }
  RepIdListFree(attributes);
}

}  // namespace

L0_Var_2 L0_Func_add_PopUpElement(L0_Var_2 popUp, std::string name, std::string procedure) {
  int nr = L0_Func_get_max_PopUpElement_nr(popUp) + 1;
  L0_Var_2 item = newObject("PopUpElement");
  if (item.isNull()) return item;
  item.setAttr("id", name);
  item.setAttr("caption", name);
  item.setAttr("visibility", true);
  item.setAttr("nr", nr);
  item.setAttr("procedure_name", procedure);
  link(popUp, "popUpElement", item);
  return item;
}
GR_ENTRY_SIGNATURE(L0_Func_add_PopUpElement)

L0_Var_2 L0_Func_add_PopUpElement2(L0_Var_2 popUp, std::string name, std::string procedure) {
  return L0_Func_add_PopUpElement(popUp, name, procedure);
}
GR_ENTRY_SIGNATURE(L0_Func_add_PopUpElement2)

L0_Var_2 L0_Func_add_key_shortcut(L0_Var_2 owner, std::string role, std::string key,
                                  std::string procedure) {
  L0_Var_2 shortcut = newObject("KeyboardShortcut");
  if (shortcut.isNull()) return shortcut;
  shortcut.setAttr("key", key);
  shortcut.setAttr("procedure_name", procedure);
  link(owner, role, shortcut);
  return shortcut;
}
GR_ENTRY_SIGNATURE(L0_Func_add_key_shortcut)

void L0_Func_add_default_keyshortcuts(L0_Var_2 elemType, std::string role) {
  L0_Func_add_key_shortcut(elemType, role, "Ctrl X", "cut");
  L0_Func_add_key_shortcut(elemType, role, "Ctrl C", "copy");
  L0_Func_add_key_shortcut(elemType, role, "Delete", "delete");
}
GR_ENTRY_SIGNATURE(L0_Func_add_default_keyshortcuts)

// Nothing is created when an end is missing: a pair without both ends would
// admit no line at all and only confuse the pair lists.
L0_Var_2 L0_Func_const_add_pair(L0_Var_2 lineType, std::string startId, std::string endId,
                                std::string pairId) {
  L0_Var_2 start = elemTypeOfSameDiagram(lineType, startId);
  L0_Var_2 end = elemTypeOfSameDiagram(lineType, endId);
  L0_Var_2 pair("Pair");
  if (start.isNull() || end.isNull()) return pair;
  pair = newObject("Pair");
  if (pair.isNull()) return pair;
  pair.setAttr("id", pairId);
  link(lineType, "pair", pair);
  link(pair, "start", start);
  link(pair, "end", end);
  return pair;
}
GR_ENTRY_SIGNATURE(L0_Func_const_add_pair)

void L0_Func_add_portType_nodeType(L0_Var_2 pinType, std::string boxTypeId) {
  L0_Var_2 boxType = elemTypeOfSameDiagram(pinType, boxTypeId);
  if (!boxType.isNull()) link(boxType, "portType", pinType);
}
GR_ENTRY_SIGNATURE(L0_Func_add_portType_nodeType)

void L0_Func_connect_elemType_to_palette_by_name(L0_Var_2 elemType, L0_Var_2 palette,
                                                 std::string name) {
  L0_Var_2 entry = gr::cfg::partnerWithId(palette, "paletteElement", "PaletteElement", name);
  if (entry.isNull()) {
    gr::showMessageBox("nav paletes elementa ar vaardu " + name);
    return;
  }
  link(elemType, "paletteElement", entry);
}
GR_ENTRY_SIGNATURE(L0_Func_connect_elemType_to_palette_by_name)

int L0_Func_get_max_CompartType_nr(L0_Var_2 elemType) {
  return maxNr(elemType, "compartType", "CompartType");
}
GR_ENTRY_SIGNATURE(L0_Func_get_max_CompartType_nr)

int L0_Func_get_max_PopUpElement_nr(L0_Var_2 popUp) {
  return maxNr(popUp, "popUpElement", "PopUpElement");
}
GR_ENTRY_SIGNATURE(L0_Func_get_max_PopUpElement_nr)

L0_Var_2 L0_Func_addCompartStyle(L0_Var_2 templateStyle) {
  if (templateStyle.isNull()) return L0_Func_add_default_compartStyle();
  L0_Var_2 style = newObject("CompartStyle");
  if (!style.isNull()) copyAttributes(templateStyle, style);
  return style;
}
GR_ENTRY_SIGNATURE(L0_Func_addCompartStyle)

L0_Var_2 L0_Func_add_default_compartStyle() {
  L0_Var_2 style = newObject("CompartStyle");
  if (style.isNull()) return style;
  for (const gr::cfg::Value& value : kCompartStyleDefaults) style.setAttr(value.name, value.value);
  return style;
}
GR_ENTRY_SIGNATURE(L0_Func_add_default_compartStyle)

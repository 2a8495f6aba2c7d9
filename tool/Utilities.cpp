#include "tool/Utilities.h"

namespace gr {

L0_Var_2 firstOver(const L0_Var_2& from, const std::string& role, const std::string& className) {
  L0_Var_2 result(className);
  result.setFirstByRelation(from, role);
  return result;
}

L0_Var_2 firstWith(const std::string& className, const std::string& attr,
                   const std::string& value) {
  L0_Var_2 result(className);
  for (bool found = result.setFirstToRoot(className); found; found = result.next())
    if (result.getAttrOfActualClass(attr) == value) return result;
  result.setNull();
  return result;
}

L0_Var_2 firstOf(const std::string& className) {
  L0_Var_2 result(className);
  result.setFirstToRoot(className);
  return result;
}

L0_Var_2 firstOrNew(const std::string& className) {
  L0_Var_2 result = firstOf(className);
  if (result.isNull()) result.addObj(className);
  return result;
}

L0_Var_2 stable(const L0_Var_2& object) {
  return L0_Var_2::fromObjectId(object.getCurrObjID());
}

bool flag(const L0_Var_2& object, const std::string& attribute) {
  return strRoutine::strToBool(optionalText(object, attribute));
}

std::string optionalText(const L0_Var_2& object, const std::string& attribute) {
  if (object.isNull()) return "";
  RepId attr = RepositoryUser::getPropertyTypeIdByName(object.actualClassId(), attribute);
  return attr == 0 ? "" : RepositoryUser::getProperty(object.getCurrObjID(), attr);
}

// Breadth first, so that the nearer supertypes come first; a supertype
// reached twice (or a cycle) counts once.
std::vector<L0_Var_2> typeAndSupertypes(const L0_Var_2& type) {
  std::vector<L0_Var_2> chain;
  if (type.isNull()) return chain;
  chain.push_back(stable(type));
  for (std::size_t next = 0; next < chain.size(); ++next) {
    L0_Var_2 super("ElemType");
    for (bool found = super.setFirstByRelation(chain[next], "supertype"); found;
         found = super.next()) {
      bool seen = false;
      for (const L0_Var_2& known : chain) seen = seen || known == super;
      if (!seen) chain.push_back(stable(super));
    }
  }
  return chain;
}

}  // namespace gr

using gr::firstOver;

L0_Var_2 L0_Func_get_current_diagram() {
  return firstOver(gr::firstOf("CurrentDgrPointer"), "graphDiagram", "GraphDiagram");
}
GR_ENTRY_SIGNATURE(L0_Func_get_current_diagram)

L0_Var_2 L0_Func_get_active_graphDiagram() {
  return L0_Func_get_current_diagram();
}
GR_ENTRY_SIGNATURE(L0_Func_get_active_graphDiagram)

L0_Var_2 L0_Func_get_active_element() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 selected =
      firstOver(firstOver(diagram, "collection", "Collection"), "element", "Element");
  if (!selected.isNull()) return selected;
  return firstOver(firstOver(diagram, "activeElementsPointer", "U#ActiveElementsPointer"),
                   "element", "Element");
}
GR_ENTRY_SIGNATURE(L0_Func_get_active_element)

L0_Var_2 L0_Func_get_graphDiagramType_by_id(std::string id) {
  return gr::firstWith("GraphDiagramType", "id", id);
}
GR_ENTRY_SIGNATURE(L0_Func_get_graphDiagramType_by_id)

L0_Var_2 L0_Func_get_ElemType_by_id(std::string id) {
  L0_Var_2 type = gr::firstWith("ElemType", "id", id);
  if (type.isNull()) gr::showMessageBox("getElemTypeByName Error.");
  return type;
}
GR_ENTRY_SIGNATURE(L0_Func_get_ElemType_by_id)

L0_Var_2 L0_Func_get_ElemStyle_by_id(std::string id) {
  return gr::firstWith("ElemStyle", "id", id);
}
GR_ENTRY_SIGNATURE(L0_Func_get_ElemStyle_by_id)

L0_Var_2 L0_Func_get_ElemStyle_from_elemType_by_id(L0_Var_2 type, std::string id) {
  L0_Var_2 style("ElemStyle");
  for (bool found = style.setFirstByRelation(type, "elemStyle"); found; found = style.next())
    if (style.getAttrOfActualClass("id") == id) return style;
  style.setNull();
  return style;
}
GR_ENTRY_SIGNATURE(L0_Func_get_ElemStyle_from_elemType_by_id)

std::string L0_Func_get_element_elemType_id(L0_Var_2 element) {
  L0_Var_2 type = firstOver(element, "elemType", "ElemType");
  return type.isNull() ? "" : type.getAttrOfActualClass("id");
}
GR_ENTRY_SIGNATURE(L0_Func_get_element_elemType_id)

#define GR_FIRST_OVER(name, role, className) \
  L0_Var_2 L0_Func_##name(L0_Var_2 from) {   \
    return firstOver(from, role, className); \
  }                                          \
  GR_ENTRY_SIGNATURE(L0_Func_##name)

GR_FIRST_OVER(get_supertype_of, "supertype", "ElemType")
GR_FIRST_OVER(get_compartment_compartType, "compartType", "CompartType")
GR_FIRST_OVER(get_element_graphDiagram, "graphDiagram", "GraphDiagram")
GR_FIRST_OVER(get_edge_start_element, "start", "Element")
GR_FIRST_OVER(get_edge_end_element, "end", "Element")
GR_FIRST_OVER(get_node_parent, "parent", "Node")
GR_FIRST_OVER(get_node_container, "container", "Node")
GR_FIRST_OVER(get_port_node, "node", "Node")
GR_FIRST_OVER(get_compartment_element, "element", "Element")
GR_FIRST_OVER(get_collection_of, "collection", "Collection")
GR_FIRST_OVER(get_selectedItem, "selectedItem", "ChoiceItem")
GR_FIRST_OVER(get_current_elemStyle, "elemStyle", "ElemStyle")
GR_FIRST_OVER(get_current_compartStyle, "compartStyle", "CompartStyle")
GR_FIRST_OVER(get_compartType_compartStyle, "compartStyle", "CompartStyle")
GR_FIRST_OVER(get_graphDiagram_graphDiagramType, "graphDiagramType", "GraphDiagramType")
GR_FIRST_OVER(get_elemType_graphDiagramType, "graphDiagramType", "GraphDiagramType")

L0_Var_2 L0_Func_get_graphClipboard() {
  return gr::firstOf("GraphClipboard");
}
GR_ENTRY_SIGNATURE(L0_Func_get_graphClipboard)

// Depth first over every supertype: a type with two supertypes is a subtype
// of the supertypes of both.
bool L0_Func_is_subtype_of(L0_Var_2 a, L0_Var_2 b) {
  if (a.isNull() || b.isNull()) return false;
  if (a == b) return true;
  L0_Var_2 super("ElemType");
  for (bool found = super.setFirstByRelation(a, "supertype"); found; found = super.next())
    if (L0_Func_is_subtype_of(super, b)) return true;
  return false;
}
GR_ENTRY_SIGNATURE(L0_Func_is_subtype_of)

bool L0_Func_is_typeOf_thru_supertypes(L0_Var_2 element, L0_Var_2 type) {
  return L0_Func_is_subtype_of(firstOver(element, "elemType", "ElemType"), type);
}
GR_ENTRY_SIGNATURE(L0_Func_is_typeOf_thru_supertypes)

L0_Var_2 L0_Func_get_top_compartment(L0_Var_2 compartment) {
  L0_Var_2 top = compartment;
  for (L0_Var_2 parent = firstOver(top, "parentCompartment", "Compartment"); !parent.isNull();
       parent = firstOver(top, "parentCompartment", "Compartment"))
    top = parent;
  return top;
}
GR_ENTRY_SIGNATURE(L0_Func_get_top_compartment)

std::string L0_Func_get_Element_Compartment_InputValue(L0_Var_2 element,
                                                       std::string compartTypeId) {
  L0_Var_2 compartment("Compartment");
  for (bool found = compartment.setFirstByRelation(element, "compartment"); found;
       found = compartment.next()) {
    L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
    if (!type.isNull() && type.getAttr("id") == compartTypeId) return compartment.getAttr("input");
  }
  gr::showMessageBox("get_Element_Compartment_InputValue Error, no compartment with type" +
                     compartTypeId);
  return "";
}
GR_ENTRY_SIGNATURE(L0_Func_get_Element_Compartment_InputValue)

void L0_Func_delete_event() {
  L0_Var_2 event = gr::firstOf("Event");
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_delete_event)

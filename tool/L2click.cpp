#include "tool/L2click.h"

#include "multiuser/Multiuser.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

using gr::firstOver;

void L0_Func_L2Click() {
  L0_Var_2 event = gr::firstOf("L2ClickEvent");
  L0_Var_2 element = firstOver(event, "element", "Element");
  if (!element.isNull()) L0_Func_call_L2Click(firstOver(element, "elemType", "ElemType"), element);
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_L2Click)

// The element's own type only: no supertype fallback for double clicks.
void L0_Func_call_L2Click(L0_Var_2 type, L0_Var_2 element) {
  if (type.isNull()) return;
  std::string reference = type.getAttrOfActualClass("l2ClickEvent");
  if (reference.empty()) return;
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(reference, library, entry);
  executeObjectFunction(library, entry, element);
}
GR_ENTRY_SIGNATURE(L0_Func_call_L2Click)

// A seed whose diagram came from a shared area knows it by its remote id only.
void L0_Func_navigate(L0_Var_2 element) {
  if (firstOver(element, "target", "GraphDiagram").isNull())
    L0_Func_connect_seed_to_diagram_by_id(element);
  L0_Var_2 target = firstOver(element, "target", "GraphDiagram");
  if (!target.isNull()) L0_Func_activeDgrCmd(target);
}
GR_ENTRY_SIGNATURE(L0_Func_navigate)

namespace {

const char* const kNameTypeIds[] = {"Vārds", "Name"};

L0_Var_2 childDiagramType(const L0_Var_2& elementType) {
  L0_Var_2 type = firstOver(elementType, "navigation_target", "GraphDiagramType");
  return type.isNull() ? firstOver(elementType, "target", "GraphDiagramType") : type;
}

L0_Var_2 diagramOfTypeWithCaption(const L0_Var_2& diagramType, const std::string& caption) {
  L0_Var_2 diagram("GraphDiagram");
  for (bool found = diagram.setFirstByRelation(diagramType, "graphDiagram"); found;
       found = diagram.next())
    if (diagram.getAttr("caption") == caption) return diagram;
  diagram.setNull();
  return diagram;
}

L0_Var_2 newChildDiagram(L0_Var_2& diagramType, const std::string& caption) {
  L0_Var_2 diagram("GraphDiagram");
  diagram.addObj("GraphDiagram");
  diagram.setAttr("caption", caption);
  diagram.setAttr("layoutMode", "0");
  diagram.setAttr("layoutAlgorithm", "3");
  diagram.setAttr("bkgColor", "16775408");
  diagram.setAttr("screenZoom", "1000");
  diagram.setAttr("printZoom", "1000");
  diagram.addLink(diagramType, "graphDiagramType");
  return diagram;
}

L0_Var_2 projectDiagram() {
  return firstOver(L0_Func_get_graphDiagramType_by_id("projectDiagram"), "graphDiagram",
                   "GraphDiagram");
}

// The element type of the project diagram whose child diagrams have this type.
L0_Var_2 seedTypeFor(const L0_Var_2& projectDiagramType, const L0_Var_2& childType) {
  L0_Var_2 type("ElemType");
  for (bool found = type.setFirstByRelation(projectDiagramType, "elemType"); found;
       found = type.next())
    if (childDiagramType(type) == childType) return type;
  type.setNull();
  return type;
}

L0_Var_2 newSeed(L0_Var_2& seedType, L0_Var_2& project, L0_Var_2& child, const std::string& name) {
  L0_Var_2 seed("Element");
  seed.addObj("Node");
  seed.addLink(seedType, "elemType");
  seed.addLink(project, "graphDiagram");
  seed.addLink(child, "target");
  L0_Var_2 style = firstOver(seedType, "elemStyle", "ElemStyle");
  if (!style.isNull()) seed.addLink(style, "elemStyle");
  L0_Var_2 compartType = firstOver(seedType, "compartType", "CompartType");
  if (compartType.isNull()) return seed;
  L0_Var_2 compartment("Compartment");
  compartment.addObj("Compartment");
  compartment.addLink(compartType, "compartType");
  L0_Var_2 compartStyle = firstOver(compartType, "compartStyle", "CompartStyle");
  if (!compartStyle.isNull()) compartment.addLink(compartStyle, "compartStyle");
  compartment.setAttr("input", name);
  compartment.setAttr("value", name);
  seed.addLink(compartment, "compartment");
  return seed;
}

L0_Var_2 seedOf(const L0_Var_2& diagram, const L0_Var_2& project) {
  L0_Var_2 seed("Element");
  for (bool found = seed.setFirstByRelation(project, "element"); found; found = seed.next())
    if (firstOver(seed, "target", "GraphDiagram") == diagram) return seed;
  seed.setNull();
  return seed;
}

// An edge in the project diagram from the seed of the diagram the element
// stands in to the new seed mirrors where the new diagram was opened from.
void linkSeeds(const L0_Var_2& element, L0_Var_2& project, L0_Var_2& newSeed) {
  L0_Var_2 ownDiagram = firstOver(element, "graphDiagram", "GraphDiagram");
  if (firstOver(ownDiagram, "source", "Element").isNull()) return;
  L0_Var_2 fromSeed = seedOf(ownDiagram, project);
  L0_Var_2 projectType = firstOver(project, "graphDiagramType", "GraphDiagramType");
  L0_Var_2 edgeType("ElemType");
  for (bool found = edgeType.setFirstByRelation(projectType, "elemType"); found;
       found = edgeType.next()) {
    if (!edgeType.isTypeOf("EdgeType")) continue;
    L0_Var_2 style = firstOver(edgeType, "elemStyle", "ElemStyle");
    if (style.isNull()) continue;
    if (fromSeed.isNull()) return;
    L0_Var_2 edge("Element");
    edge.addObj("Edge");
    edge.addLink(edgeType, "elemType");
    edge.addLink(project, "graphDiagram");
    edge.addLink(fromSeed, "start");
    edge.addLink(newSeed, "end");
    edge.addLink(style, "elemStyle");
    return;
  }
}

}  // namespace

void L0_Func_navigate_with_constructing(L0_Var_2 element) {
  L0_Var_2 existing = firstOver(element, "target", "GraphDiagram");
  if (!existing.isNull()) {
    L0_Func_activeDgrCmd(existing);
    return;
  }
  L0_Var_2 childType = childDiagramType(firstOver(element, "elemType", "ElemType"));
  std::string name = L0_Func_getNameValue(element);
  if (childType.isNull() || name.empty()) return;
  L0_Var_2 same = diagramOfTypeWithCaption(childType, name);
  if (!same.isNull()) {
    element.addLink(same, "target");
    L0_Func_activeDgrCmd(same);
    return;
  }
  L0_Var_2 child = newChildDiagram(childType, name);
  element.addLink(child, "target");
  L0_Var_2 project = projectDiagram();
  L0_Var_2 seedType =
      seedTypeFor(firstOver(project, "graphDiagramType", "GraphDiagramType"), childType);
  if (!project.isNull() && !seedType.isNull()) {
    L0_Var_2 seed = newSeed(seedType, project, child, name);
    linkSeeds(element, project, seed);
    // The new seed (and edge) must be drawn, whichever diagram the child came from.
    L0_Func_okCmd_graphDiagram(project);
  }
  L0_Func_activeDgrCmd(child);
}
GR_ENTRY_SIGNATURE(L0_Func_navigate_with_constructing)

std::string L0_Func_getNameValue(L0_Var_2 element) {
  L0_Var_2 compartment("Compartment");
  for (bool found = compartment.setFirstByRelation(element, "compartment"); found;
       found = compartment.next()) {
    L0_Var_2 type = firstOver(compartment, "compartType", "CompartType");
    if (type.isNull()) continue;
    std::string id = type.getAttr("id");
    for (const char* nameId : kNameTypeIds)
      if (id == nameId) return compartment.getAttr("input");
  }
  return "";
}
GR_ENTRY_SIGNATURE(L0_Func_getNameValue)

void L0_Func_close_BoxProperties() {
  L0_Func_d_cmd(gr::firstOf("D#Form"), "Close");
  L0_Var_2 element = L0_Func_get_active_element();
  if (!element.isNull() && firstOver(element, "target_type", "ElemType").isNull())
    element.deleteObj();
  L0_Func_okCmd_graphDiagram(L0_Func_get_current_diagram());
}
GR_ENTRY_SIGNATURE(L0_Func_close_BoxProperties)

void L0_Func_ok_specification_properties() {
  L0_Var_2 element = L0_Func_get_active_element();
  L0_Var_2 diagram = firstOver(element, "graphDiagram", "GraphDiagram");
  L0_Func_afterConfigCmd(diagram);
  L0_Func_okCmd(element);
  L0_Func_defaultStyleCmd(element);
  L0_Func_styleDialogCmd(element, "");
  L0_Func_d_cmd(gr::firstOf("D#Form"), "Close");
}
GR_ENTRY_SIGNATURE(L0_Func_ok_specification_properties)

void L0_Func_update_graphDiagramType() {
  L0_Var_2 element = L0_Func_get_active_element();
  L0_Var_2 diagramType = firstOver(element, "source", "GraphDiagramType");
  L0_Var_2 event = gr::firstOf("D#Event");
  L0_Var_2 component = firstOver(event, "source", "D#Component");
  if (diagramType.isNull() || component.isNull()) {
    gr::showMessageBox("Error in update_graphDiagramType");
    return;
  }
  diagramType.setAttr(component.getAttrOfActualClass("id"), component.getAttrOfActualClass("text"));
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_update_graphDiagramType)

#include "tool/Pastegraphclipboard.h"

#include "tool/Commands.h"
#include "tool/Copycollection.h"
#include "tool/Element.h"
#include "tool/Utilities.h"

using gr::firstOver;

namespace {

L0_Var_2 typeOfElement(const L0_Var_2& element) {
  return firstOver(element, "elemType", "ElemType");
}

// Counted like the element multiplicity, but silent: a paste skips what does not fit.
int countOfTypeInDiagram(const L0_Var_2& type, const L0_Var_2& diagram) {
  int count = 0;
  for (L0_Var_2& element : gr::partnersOver(type, "element", "Element"))
    if (element.checkLink(diagram, "graphDiagram")) ++count;
  for (L0_Var_2& sub : gr::partnersOver(type, "subtype", "ElemType"))
    count += countOfTypeInDiagram(sub, diagram);
  return count;
}

bool fitsDiagram(const L0_Var_2& element, const L0_Var_2& diagram) {
  L0_Var_2 type = typeOfElement(element);
  L0_Var_2 diagramType = firstOver(diagram, "graphDiagramType", "GraphDiagramType");
  if (!(firstOver(type, "graphDiagramType", "GraphDiagramType") == diagramType)) return false;
  for (const L0_Var_2& t : gr::typeAndSupertypes(type)) {
    std::string limit = gr::optionalText(t, "multiplicityConstraint");
    if (!limit.empty() && IsInt(limit) && countOfTypeInDiagram(t, diagram) >= StrToInt(limit))
      return false;
  }
  return true;
}

L0_Var_2 newPasted(const std::string& className, L0_Var_2& source, L0_Var_2& diagram) {
  L0_Var_2 pasted("Element");
  pasted.addObj(className);
  source.addLink(pasted, "copy");
  diagram.addLink(pasted, "element");
  return pasted;
}

void finishPasted(L0_Var_2& source, L0_Var_2& pasted, L0_Var_2& diagram) {
  L0_Func_pasteCmd(pasted, diagram);
  L0_Func_copy_element_features_from_to(source, pasted);
  L0_Func_call_element_proc_thru_type(pasted, "procPasted");
}

L0_Var_2 pasteNode(L0_Var_2& node, L0_Var_2& diagram) {
  L0_Var_2 pasted = newPasted("Node", node, diagram);
  finishPasted(node, pasted, diagram);
  for (L0_Var_2& port : gr::partnersOver(node, "port", "Port"))
    L0_Func_paste_element_to(port, diagram);
  for (L0_Var_2& inner : gr::partnersOver(node, "component", "Element")) {
    L0_Var_2 innerPasted = L0_Func_paste_element_to(inner, diagram);
    if (!innerPasted.isNull() && !pasted.checkLink(innerPasted, "component"))
      pasted.addLink(innerPasted, "component");
  }
  return pasted;
}

L0_Var_2 pasteEdge(L0_Var_2& edge, L0_Var_2& diagram) {
  L0_Var_2 start = L0_Func_paste_element_to(firstOver(edge, "start", "Element"), diagram);
  L0_Var_2 end = L0_Func_paste_element_to(firstOver(edge, "end", "Element"), diagram);
  if (start.isNull() || end.isNull()) return L0_Var_2("Element");
  L0_Var_2 pasted = newPasted("Edge", edge, diagram);
  pasted.addLink(start, "start");
  pasted.addLink(end, "end");
  finishPasted(edge, pasted, diagram);
  return pasted;
}

L0_Var_2 pastePort(L0_Var_2& port, L0_Var_2& diagram) {
  L0_Var_2 node = L0_Func_paste_element_to(firstOver(port, "node", "Node"), diagram);
  if (node.isNull()) return node;
  L0_Var_2 already = firstOver(port, "copy", "Element");
  if (!already.isNull()) return already;
  L0_Var_2 pasted = newPasted("Port", port, diagram);
  node.addLink(pasted, "port");
  finishPasted(port, pasted, diagram);
  return pasted;
}

const char* const kGeometry[] = {"freeBox_x",   "freeBox_y",   "freeBox_w",   "freeBox_h",
                                 "freeBox_z",   "freeLine_x1", "freeLine_y1", "freeLine_xn",
                                 "freeLine_yn", "freeLine_z"};

L0_Var_2 pasteFreeShape(L0_Var_2& shape, L0_Var_2& diagram) {
  L0_Var_2 pasted = newPasted(getClassName(shape), shape, diagram);
  L0_Func_pasteCmd(pasted, diagram);
  L0_Func_copy_element_features_from_to(shape, pasted);
  for (const char* attribute : kGeometry) {
    std::string value = shape.getAttrOfActualClass(attribute);
    if (IsInt(value)) pasted.setAttr(attribute, StrToInt(value));
  }
  L0_Func_call_element_proc_thru_type(pasted, "procPasted");
  return pasted;
}

// A pasted top-level node goes into the active element when that may hold
// it. Only an attempt: most pastes land beside the selection (often the
// very element just copied), so a refusal is no news to the user.
void attemptToMakeComponentOf(L0_Var_2& pasted, const L0_Var_2& active) {
  if (active.isNull() || !pasted.isTypeOf("Node") || !active.isTypeOf("Node")) return;
  if (!firstOver(pasted, "container", "Element").isNull()) return;
  if (gr::containmentAdmits(typeOfElement(pasted), active)) pasted.addLink(active, "container");
}

void pasteInto(L0_Var_2& diagram) {
  L0_Var_2 clipboard = L0_Func_get_graphClipboard();
  L0_Var_2 active = L0_Func_get_active_element();
  std::vector<L0_Var_2> elements = gr::partnersOver(clipboard, "element", "Element");
  for (L0_Var_2& element : elements) {
    if (!firstOver(element, "copy", "Element").isNull() || !fitsDiagram(element, diagram)) continue;
    L0_Var_2 pasted = L0_Func_paste_element_to(element, diagram);
    if (pasted.isNull()) continue;
    // As when copying: the new element, its `original` being the clipboard's.
    L0_Func_call_element_proc_thru_type(pasted, "procCopied");
    attemptToMakeComponentOf(pasted, active);
  }
  L0_Var_2 command("Command");
  command.addObj("ActiveElementCmd");
  command.addLink(diagram, "graphDiagram");
  for (L0_Var_2& element : elements) {
    L0_Var_2 pasted = firstOver(element, "copy", "Element");
    if (!pasted.isNull()) command.addLink(pasted, "element");
  }
  L0_Func_add_Command(command);
  L0_Func_removeCopyOriginalLinks();
}

}  // namespace

void L0_Func_PasteGraphClipboard() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (!diagram.isNull() && !gr::flag(diagram, "isReadOnly")) pasteInto(diagram);
  L0_Var_2 event = gr::firstOf("PasteGraphClipboardEvent");
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_PasteGraphClipboard)

void L0_Func_paste(L0_Var_2) {
  L0_Func_PasteGraphClipboard();
}
GR_ENTRY_SIGNATURE(L0_Func_paste)

L0_Var_2 L0_Func_paste_element_to(L0_Var_2 element, L0_Var_2 diagram) {
  if (element.isNull()) return element;
  L0_Var_2 existing = firstOver(element, "copy", "Element");
  if (!existing.isNull()) return existing;
  if (isKindOf(element, "Node")) return pasteNode(element, diagram);
  if (isKindOf(element, "Edge")) return pasteEdge(element, diagram);
  if (isKindOf(element, "Port")) return pastePort(element, diagram);
  if (isKindOf(element, "FreeBox") || isKindOf(element, "FreeLine"))
    return pasteFreeShape(element, diagram);
  return L0_Var_2("Element");
}
GR_ENTRY_SIGNATURE(L0_Func_paste_element_to)

// ---- child diagrams of pasted seeds

// Named as both procCopied and procPasted, it runs twice for a pasted seed:
// a seed that already has its child diagram keeps it.
void L0_Func_copy_paste_diagram_seed(L0_Var_2 element) {
  if (!firstOver(element, "target", "GraphDiagram").isNull()) return;
  L0_Var_2 original = firstOver(element, "original", "Element");
  if (original.isNull() || gr::firstOf("Element").isNull()) {
    gr::showMessageBox("Error in copy_paste_diagram_seed");
    return;
  }
  L0_Func_copy_paste_diagram_seed2(element);
  L0_Func_clear_seed_copy_values(original);
}
GR_ENTRY_SIGNATURE(L0_Func_copy_paste_diagram_seed)

namespace {
void removeCopyLinksOf(const L0_Var_2& diagram) {
  for (L0_Var_2& element : gr::partnersOver(diagram, "element", "Element"))
    for (L0_Var_2& copy : gr::partnersOver(element, "copy", "Element"))
      element.deleteLink(copy, "copy");
}

void ensureTraversedMarker() {
  RepId diagramClass = RepositoryUser::getObjectTypeIdByName("GraphDiagram");
  if (diagramClass == 0 || RepositoryUser::getPropertyTypeIdByName(diagramClass, "isTraversed"))
    return;
  RepositoryUser::addAttributeToClass(
      diagramClass, RepositoryUser::createAttribute("isTraversed", BaseType_STRING));
}

void copyAllAttributes(const L0_Var_2& source, L0_Var_2& target) {
  RepIdList* attributes = GetPropertyTypeIdList(source.actualClassId());
  for (uint32_t i = 0; attributes && i < RepIdListCount(attributes); ++i) {
    RepId attr = RepIdListItem(attributes, i);
    target.setAttrById(attr, RepositoryUser::getProperty(source.getCurrObjID(), attr));
  }
  if (attributes) RepIdListFree(attributes);
}
}  // namespace

void L0_Func_copy_paste_diagram_seed2(L0_Var_2 element) {
  L0_Var_2 original = firstOver(element, "original", "Element");
  if (original.isNull()) {
    gr::showMessageBox("Error in paste_diagram_seed");
    return;
  }
  L0_Var_2 source = firstOver(original, "target", "GraphDiagram");
  if (source.isNull()) return;
  ensureTraversedMarker();
  if (source.getAttr("isTraversed") == "copy") {
    removeCopyLinksOf(source);
    return;
  }
  source.setAttr("isTraversed", "copy");
  L0_Var_2 type = firstOver(source, "graphDiagramType", "GraphDiagramType");
  if (type.isNull()) {
    gr::showMessageBox("Error in paste_diagram_seed");
    return;
  }
  L0_Var_2 diagram("GraphDiagram");
  diagram.addObj("GraphDiagram");
  copyAllAttributes(source, diagram);
  // The marker belongs to the walk over the source: a copy that kept it would
  // itself count as copied, and a paste from it would make no diagram.
  diagram.setAttr("isTraversed", "");
  element.addLink(diagram, "target");
  type.addLink(diagram, "graphDiagram");
  for (L0_Var_2& inner : gr::partnersOver(source, "element", "Element"))
    L0_Func_paste_element_to(inner, diagram);
  removeCopyLinksOf(source);
}
GR_ENTRY_SIGNATURE(L0_Func_copy_paste_diagram_seed2)

void L0_Func_clear_seed_copy_values(L0_Var_2 element) {
  L0_Var_2 diagram = firstOver(element, "target", "GraphDiagram");
  if (diagram.isNull()) return;
  if (diagram.getAttr("isTraversed").empty()) return;
  diagram.setAttr("isTraversed", "");
  for (L0_Var_2& inner : gr::partnersOver(diagram, "element", "Element"))
    L0_Func_clear_seed_copy_values(inner);
}
GR_ENTRY_SIGNATURE(L0_Func_clear_seed_copy_values)

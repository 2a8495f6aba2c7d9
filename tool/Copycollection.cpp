#include "tool/Copycollection.h"

#include "tool/Commands.h"
#include "tool/Deletecollection.h"
#include "tool/Utilities.h"

using gr::firstOver;

namespace gr {

std::vector<L0_Var_2> partnersOver(const L0_Var_2& object, const std::string& role,
                                   const std::string& className) {
  std::vector<L0_Var_2> found;
  L0_Var_2 partner(className);
  for (bool more = partner.setFirstByRelation(object, role); more; more = partner.next())
    found.push_back(partner);
  return found;
}

std::vector<L0_Var_2> selection(const L0_Var_2& diagram) {
  return partnersOver(firstOver(diagram, "collection", "Collection"), "element", "Element");
}

namespace {
void collectChildDiagrams(const L0_Var_2& element, std::vector<L0_Var_2>& diagrams) {
  for (L0_Var_2& child : partnersOver(element, "target", "GraphDiagram")) {
    bool seen = false;
    for (const L0_Var_2& known : diagrams) seen = seen || known == child;
    if (seen) continue;
    diagrams.push_back(child);
    for (L0_Var_2& inner : partnersOver(child, "element", "Element"))
      collectChildDiagrams(inner, diagrams);
  }
}
}  // namespace

std::vector<L0_Var_2> childDiagramsOf(const std::vector<L0_Var_2>& elements) {
  std::vector<L0_Var_2> diagrams;
  for (const L0_Var_2& element : elements) collectChildDiagrams(element, diagrams);
  return diagrams;
}

}  // namespace gr

// ---- the copy gesture, in two steps

namespace {

void startCopy() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (diagram.isNull()) return;
  L0_Func_saveDgrCmd(diagram);
  for (L0_Var_2& child : gr::childDiagramsOf(gr::selection(diagram))) L0_Func_saveDgrCmd(child);
  L0_Func_execTransfCmd(diagram, "finishCopyCollection");
}

void deleteOwnEvent(const char* eventClass) {
  L0_Var_2 event = gr::firstOf(eventClass);
  event.deleteObj();
}

}  // namespace

void L0_Func_CopyCollection() {
  startCopy();
  deleteOwnEvent("CopyCollectionEvent");
}
GR_ENTRY_SIGNATURE(L0_Func_CopyCollection)

void L0_Func_copy(L0_Var_2) {
  L0_Func_CopyCollection();
}
GR_ENTRY_SIGNATURE(L0_Func_copy)

void L0_Func_finishCopyCollection() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 clipboard = L0_Func_get_graphClipboard();
  if (clipboard.isNull()) return;
  L0_Func_clearGraphClipboard();
  for (L0_Var_2& element : gr::selection(diagram))
    L0_Func_copy_element_to_by(element, clipboard, "element");
  L0_Func_removeCopyOriginalLinks();
}
GR_ENTRY_SIGNATURE(L0_Func_finishCopyCollection)

// ---- copying one element

namespace {

L0_Var_2 copyOf(const L0_Var_2& element) {
  return firstOver(element, "copy", "Element");
}

bool isSelected(const L0_Var_2& element) {
  for (const L0_Var_2& selected : gr::selection(L0_Func_get_current_diagram()))
    if (selected == element) return true;
  return false;
}

L0_Var_2 newCopy(const std::string& className, L0_Var_2& source, L0_Var_2& clipboard,
                 const std::string& by) {
  L0_Var_2 copy("Element");
  copy.addObj(className);
  source.addLink(copy, "copy");
  clipboard.addLink(copy, by);
  return copy;
}

const char* const kFreeBoxGeometry[] = {"freeBox_x", "freeBox_y", "freeBox_w", "freeBox_h",
                                        "freeBox_z"};
const char* const kFreeLineGeometry[] = {"freeLine_x1", "freeLine_y1", "freeLine_xn", "freeLine_yn",
                                         "freeLine_z"};

// Geometry is copied as integers: a text that is not one is left out.
template <std::size_t N>
void copyGeometry(const L0_Var_2& source, L0_Var_2& copy, const char* const (&attributes)[N]) {
  for (const char* attribute : attributes) {
    std::string value = source.getAttrOfActualClass(attribute);
    if (IsInt(value)) copy.setAttr(attribute, StrToInt(value));
  }
}

L0_Var_2 copyNode(L0_Var_2& node, L0_Var_2& clipboard, const std::string& by) {
  L0_Var_2 container = firstOver(node, "container", "Element");
  if (!container.isNull() && !isSelected(container)) {
    if (L0_Func_copy_element_to_by(container, clipboard, by).isNull()) return L0_Var_2("Element");
    L0_Var_2 already = copyOf(node);
    if (!already.isNull()) return already;
  }
  L0_Var_2 copy = newCopy("Node", node, clipboard, by);
  L0_Func_copy_element_features_from_to(node, copy);
  for (L0_Var_2& port : gr::partnersOver(node, "port", "Port"))
    L0_Func_copy_element_to_by(port, clipboard, by);
  for (L0_Var_2& inner : gr::partnersOver(node, "component", "Element")) {
    L0_Var_2 innerCopy = L0_Func_copy_element_to_by(inner, clipboard, by);
    if (!innerCopy.isNull() && !copy.checkLink(innerCopy, "component"))
      copy.addLink(innerCopy, "component");
  }
  return copy;
}

L0_Var_2 copyEdge(L0_Var_2& edge, L0_Var_2& clipboard, const std::string& by) {
  L0_Var_2 start = L0_Func_copy_element_to_by(firstOver(edge, "start", "Element"), clipboard, by);
  if (start.isNull()) return start;
  L0_Var_2 end = L0_Func_copy_element_to_by(firstOver(edge, "end", "Element"), clipboard, by);
  if (end.isNull()) return end;
  L0_Var_2 copy = newCopy("Edge", edge, clipboard, by);
  copy.addLink(start, "start");
  copy.addLink(end, "end");
  L0_Func_copy_element_features_from_to(edge, copy);
  return copy;
}

L0_Var_2 copyPort(L0_Var_2& port, L0_Var_2& clipboard, const std::string& by) {
  L0_Var_2 node = L0_Func_copy_element_to_by(firstOver(port, "node", "Node"), clipboard, by);
  if (node.isNull()) return node;
  L0_Var_2 already = copyOf(port);
  if (!already.isNull()) return already;
  L0_Var_2 copy = newCopy("Port", port, clipboard, by);
  node.addLink(copy, "port");
  L0_Func_copy_element_features_from_to(port, copy);
  return copy;
}

L0_Var_2 copyFreeShape(L0_Var_2& shape, L0_Var_2& clipboard, const std::string& by, bool isBox) {
  L0_Var_2 copy = newCopy(isBox ? "FreeBox" : "FreeLine", shape, clipboard, by);
  L0_Func_copy_element_features_from_to(shape, copy);
  if (isBox)
    copyGeometry(shape, copy, kFreeBoxGeometry);
  else
    copyGeometry(shape, copy, kFreeLineGeometry);
  return copy;
}

void copyCompartmentTree(const L0_Var_2& source, L0_Var_2& target, const std::string& role);

void copyCompartmentValues(const L0_Var_2& source, L0_Var_2& copy) {
  RepIdList* attributes = GetPropertyTypeIdList(source.actualClassId());
  for (uint32_t i = 0; attributes && i < RepIdListCount(attributes); ++i) {
    RepId attr = RepIdListItem(attributes, i);
    if (GetPropertyBaseType(attr) == REP_STRING)
      copy.setAttrById(attr, RepositoryUser::getProperty(source.getCurrObjID(), attr));
  }
  if (attributes) RepIdListFree(attributes);
}

void copyCompartment(const L0_Var_2& source, L0_Var_2& parent, const std::string& role) {
  L0_Var_2 copy("Compartment");
  copy.addObj("Compartment");
  L0_Var_2 type = firstOver(source, "compartType", "CompartType");
  if (!type.isNull()) copy.addLink(type, "compartType");
  copyCompartmentValues(source, copy);
  L0_Var_2 style = firstOver(source, "compartStyle", "CompartStyle");
  if (!style.isNull()) copy.addLink(style, "compartStyle");
  L0_Var_2 item = firstOver(source, "selectedItem", "ChoiceItem");
  if (!item.isNull()) copy.addLink(item, "selectedItem");
  parent.addLink(copy, role);
  copyCompartmentTree(source, copy, "subCompartment");
}

void copyCompartmentTree(const L0_Var_2& source, L0_Var_2& target, const std::string& role) {
  for (L0_Var_2& compartment : gr::partnersOver(source, role, "Compartment"))
    copyCompartment(compartment, target, role);
}

}  // namespace

L0_Var_2 L0_Func_copy_element_to_by(L0_Var_2 element, L0_Var_2 clipboard, std::string by) {
  if (element.isNull()) return element;
  L0_Var_2 existing = copyOf(element);
  if (!existing.isNull()) return existing;
  L0_Var_2 copy("Element");
  if (element.isTypeOf("Node"))
    copy = copyNode(element, clipboard, by);
  else if (element.isTypeOf("Edge"))
    copy = copyEdge(element, clipboard, by);
  else if (element.isTypeOf("Port"))
    copy = copyPort(element, clipboard, by);
  else if (element.isTypeOf("FreeBox") || element.isTypeOf("FreeLine"))
    copy = copyFreeShape(element, clipboard, by, element.isTypeOf("FreeBox"));
  // The procedure gets the copy, whose `original` still leads to the element
  // (the copy links last until the whole copy is made): a copy of a seed
  // takes a copy of the child diagram along this way.
  if (!copy.isNull()) L0_Func_call_element_proc_thru_type(copy, "procCopied");
  return copy;
}
GR_ENTRY_SIGNATURE(L0_Func_copy_element_to_by)

void L0_Func_copy_element_features_from_to(L0_Var_2 source, L0_Var_2 copy) {
  copy.setAttr("style", source.getAttrOfActualClass("style"));
  copy.setAttr("location", source.getAttrOfActualClass("location"));
  copy.setAttr("is_definition", gr::flag(source, "is_definition"));
  L0_Var_2 type = firstOver(source, "elemType", "ElemType");
  if (!type.isNull()) copy.addLink(type, "elemType");
  L0_Var_2 style = firstOver(source, "elemStyle", "ElemStyle");
  if (!style.isNull()) copy.addLink(style, "elemStyle");
  copyCompartmentTree(source, copy, "compartment");
}
GR_ENTRY_SIGNATURE(L0_Func_copy_element_features_from_to)

void L0_Func_removeCopyOriginalLinks() {
  L0_Var_2 element("Element");
  for (bool found = element.setFirstToRoot("Element"); found; found = element.next())
    for (L0_Var_2& copy : gr::partnersOver(element, "copy", "Element"))
      element.deleteLink(copy, "copy");
}
GR_ENTRY_SIGNATURE(L0_Func_removeCopyOriginalLinks)

// ---- clearing the clipboard

namespace {
void deleteDiagramsBelow(const L0_Var_2& element) {
  for (L0_Var_2& diagram : gr::partnersOver(element, "target", "GraphDiagram")) {
    if (diagram.getAttr("isTraversed") == "visited2") continue;
    diagram.setAttr("isTraversed", "visited2");
    for (L0_Var_2& inner : gr::partnersOver(diagram, "element", "Element")) {
      deleteDiagramsBelow(inner);
      L0_Func_default_delete_element_helper_helper(inner, false);
    }
    gr::deleteDiagram(diagram);
  }
}
}  // namespace

void L0_Func_clearGraphClipboard() {
  L0_Var_2 clipboard = L0_Func_get_graphClipboard();
  for (L0_Var_2& element : gr::partnersOver(clipboard, "element", "Element")) {
    if (element.isNull()) continue;  // taken along with an earlier one
    deleteDiagramsBelow(element);
    L0_Func_okCmd_graphDiagram(gr::firstOf("GraphDiagram"));
    L0_Func_default_delete_element_helper_helper(element, false);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_clearGraphClipboard)

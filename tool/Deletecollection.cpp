#include "tool/Deletecollection.h"

#include <vector>

#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Copycollection.h"
#include "tool/Utilities.h"

using gr::firstOver;

namespace {

std::vector<L0_Var_2> partners(const L0_Var_2& element, const std::string& role,
                               const std::string& className) {
  std::vector<L0_Var_2> found;
  L0_Var_2 partner(className);
  for (bool more = partner.setFirstByRelation(element, role); more; more = partner.next())
    found.push_back(partner);
  return found;
}

// What goes with the element: a node's ports and contained nodes, then the
// edges attached to it.
std::vector<L0_Var_2> dependentsOf(const L0_Var_2& element) {
  std::vector<L0_Var_2> dependents;
  if (element.isTypeOf("Node")) {
    for (const char* role : {"port", "component", "child"})
      for (L0_Var_2& partner : partners(element, role, "Element")) dependents.push_back(partner);
  }
  if (element.isTypeOf("FreeBox") || element.isTypeOf("FreeLine")) return dependents;
  for (const char* role : {"eStart", "eEnd"})
    for (L0_Var_2& edge : partners(element, role, "Edge")) dependents.push_back(edge);
  return dependents;
}

}  // namespace

void L0_Func_delete_element(L0_Var_2 element) {
  if (element.isNull()) return;
  L0_Var_2 type = firstOver(element, "elemType", "ElemType");
  if (!gr::procedureOfType(type, "procDeleteElement").empty()) {
    L0_Func_call_elemType_proc_with_supertypes(type, "procDeleteElement", element);
    return;
  }
  L0_Func_default_delete_element_helper_helper(element, true);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_element)

void L0_Func_default_delete_element(L0_Var_2 element) {
  L0_Func_default_delete_element_helper_helper(element, true);
}
GR_ENTRY_SIGNATURE(L0_Func_default_delete_element)

void L0_Func_default_delete_element_helper_helper(L0_Var_2 element, bool userDeletion) {
  if (element.isNull()) return;
  L0_Var_2 type = firstOver(element, "elemType", "ElemType");
  for (L0_Var_2& dependent : dependentsOf(element))
    L0_Func_default_delete_element_helper_helper(dependent, userDeletion);
  if (element.isNull()) return;  // a dependent's procedure may have taken it along
  if (userDeletion) {
    gr::deleteCompartmentsOf(element, true);
    L0_Func_call_elemType_proc_with_supertypes(type, "procDeleteElementDomain", element);
  } else {
    L0_Func_call_elemType_proc_with_supertypes(type, "procClipboardCleared", element);
    // A clipboard copy has no domain: its compartments just go with it.
    if (!element.isNull()) gr::deleteCompartmentsOf(element, false);
  }
  element.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_default_delete_element_helper_helper)

namespace gr {

void deleteDiagram(L0_Var_2& diagram) {
  if (diagram.isNull()) return;
  for (L0_Var_2& collection : partners(diagram, "collection", "Collection")) {
    L0_Var_2 held = stable(collection);
    held.deleteObj();
  }
  diagram.deleteObj();
}

}  // namespace gr

// ---- the gestures

namespace {
bool readOnly(const L0_Var_2& diagram) {
  return diagram.isNull() || gr::flag(diagram, "isReadOnly");
}
void deleteFirst(const char* eventClass) {
  L0_Var_2 event = gr::firstOf(eventClass);
  event.deleteObj();
}
std::vector<L0_Var_2> selectionOf(const L0_Var_2& diagram) {
  return partners(firstOver(diagram, "collection", "Collection"), "element", "Element");
}
}  // namespace

void L0_Func_DeleteCollection() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (!readOnly(diagram)) {
    for (L0_Var_2& element : selectionOf(diagram)) L0_Func_delete_element(element);
    L0_Func_okCmd_graphDiagram(diagram);
  }
  deleteFirst("DeleteCollectionEvent");
}
GR_ENTRY_SIGNATURE(L0_Func_DeleteCollection)

void L0_Func_delete(L0_Var_2) {
  L0_Func_DeleteCollection();
}
GR_ENTRY_SIGNATURE(L0_Func_delete)

void L0_Func_CopyCutCollection() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (!readOnly(diagram)) {
    L0_Func_CopyCollection();
    L0_Func_execTransfCmd(diagram, "finishCopyCutCollection");
  }
  deleteFirst("CopyCutCollectionEvent");
}
GR_ENTRY_SIGNATURE(L0_Func_CopyCutCollection)

void L0_Func_cut(L0_Var_2) {
  L0_Func_CopyCutCollection();
}
GR_ENTRY_SIGNATURE(L0_Func_cut)

void L0_Func_finishCopyCutCollection() {
  L0_Func_DeleteCollection();
}
GR_ENTRY_SIGNATURE(L0_Func_finishCopyCutCollection)

void L0_Func_delete_diagram() {
  L0_Var_2 element = L0_Func_get_active_element();
  L0_Var_2 child = firstOver(element, "target", "GraphDiagram");
  if (child.isNull()) return;
  L0_Func_closeDgrCmd(child);
  L0_Func_execTransfCmd(child, "delete_diagram_finish");
}
GR_ENTRY_SIGNATURE(L0_Func_delete_diagram)

// The element goes by the default deletion (its own procDeleteElement would
// delete the diagram again), so that its compartments go with it.
void L0_Func_delete_diagram_finish() {
  L0_Var_2 element = gr::stable(L0_Func_get_active_element());
  L0_Var_2 child = gr::stable(firstOver(element, "target", "GraphDiagram"));
  L0_Func_okCmd_graphDiagram(firstOver(element, "graphDiagram", "GraphDiagram"));
  if (!child.isNull()) {
    for (L0_Var_2& inner : partners(child, "element", "Element")) L0_Func_delete_element(inner);
    gr::deleteDiagram(child);
  }
  L0_Func_default_delete_element_helper_helper(element, true);
}
GR_ENTRY_SIGNATURE(L0_Func_delete_diagram_finish)

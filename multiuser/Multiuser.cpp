#include "multiuser/Multiuser.h"

#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Copycollection.h"
#include "tool/Deletecollection.h"
#include "tool/Utilities.h"

using gr::firstOver;

namespace {

// The extent of a shared area, in the form of the graph export's three specs.
const char* const kReferenceMap =
    "GraphDiagram.graphDiagramType-_L0_Func_getLOforGDType;"
    "Element.elemType-_L0_Func_getLOforElemType;"
    "Element.elemStyle-_L0_Func_getLOforElemStyle;"
    "Compartment.compartType-_L0_Func_getLOforCompartType;"
    "Compartment.compartStyle-_L0_Func_getLOforCompartStyle";
const char* const kStopClasses = "GraphDiagram;Element;Compartment";
const char* const kTraversalRoles =
    "GraphDiagram.element;Element.compartment;Compartment.subCompartment;Element.eStart;"
    "Element.eEnd;Node.component;Node.port";

void inform(const std::string& text) {
  L0_Func_ShowInformationBar(text);
}

// What checkout, lock and commit act on: the child diagram of the active
// element, else the active diagram.
struct Context {
  L0_Var_2 diagram{"GraphDiagram"};
  std::string remoteId;
  bool elementWithoutRemote = false;
};

Context diagramInContext() {
  Context context;
  L0_Var_2 element = L0_Func_get_active_element();
  if (!element.isNull()) {
    context.remoteId = gr::optionalText(element, "targetDiagramRemoteId");
    context.elementWithoutRemote = context.remoteId.empty();
    context.diagram = L0_Func_get_graphDiagram_by_remote_id(context.remoteId);
  } else {
    context.diagram = L0_Func_get_active_graphDiagram();
    context.remoteId = gr::optionalText(context.diagram, "remoteId");
  }
  return context;
}

// A diagram that is not here at all is not being edited here either.
bool editable(const L0_Var_2& diagram) {
  return !diagram.isNull() && !gr::flag(diagram, "isReadOnly");
}

void reopen(const std::string& remoteId, bool readOnly) {
  L0_Var_2 diagram = L0_Func_get_graphDiagram_by_remote_id(remoteId);
  if (diagram.isNull()) return;
  diagram.setAttr("isReadOnly", readOnly);
  L0_Func_activeDgrCmd(diagram);
}

std::vector<L0_Var_2> elementsOf(const L0_Var_2& diagram) {
  return gr::partnersOver(diagram, "element", "Element");
}

// The child diagram goes with what it owns, and no type procedure runs: its
// elements live on in the shared area. Its own children went before it.
void deleteLocalDiagram(L0_Var_2 diagram) {
  for (L0_Var_2& element : elementsOf(diagram)) {
    L0_Var_2 held = gr::stable(element);
    gr::deleteCompartmentsOf(held, false);
    held.deleteObj();
  }
  gr::deleteDiagram(diagram);
}

}  // namespace

void L0_Func_checkout() {
  L0_Func_import_from_context(true);
}
GR_ENTRY_SIGNATURE(L0_Func_checkout)

void L0_Func_lock() {
  L0_Func_import_from_context(false);
}
GR_ENTRY_SIGNATURE(L0_Func_lock)

void L0_Func_import_from_context(bool readOnly) {
  Context context = diagramInContext();
  if (context.elementWithoutRemote) return inform("There isn't a remote diagram");
  if (!readOnly && editable(context.diagram)) return inform("Already locked");
  if (context.remoteId.empty()) return inform("There isn't a remote diagram");
  L0_Var_2 request("DiagramImportTmp");
  request.addObj("DiagramImportTmp");
  request.setAttr("remoteId", context.remoteId);
  request.setAttr("readOnly", readOnly);
  request.setAttr("reopen", true);
  L0_Func_closeDgrCmd(context.diagram);
  L0_Func_execTransfCmd_withoutDiagram("finish_import");
}
GR_ENTRY_SIGNATURE(L0_Func_import_from_context)

void L0_Func_finish_import() {
  L0_Var_2 request = gr::firstOf("DiagramImportTmp");
  if (request.isNull()) return;
  std::string remoteId = request.getAttr("remoteId");
  bool readOnly = gr::flag(request, "readOnly");
  bool reopenAfter = gr::flag(request, "reopen");
  request.deleteObj();
  if (remoteId.empty()) return inform("There isn't a remote diagram");
  std::string lockedBy;
  if (L0_Func_ImportSharedArea(remoteId, readOnly, lockedBy)) {
    inform("Done");
    if (reopenAfter) reopen(remoteId, readOnly);
    return;
  }
  if (readOnly) return inform("Failed. Unknown reason, sorry.");
  // The lock was refused: the diagram is fetched to be read at least.
  std::string ignored;
  if (!L0_Func_ImportSharedArea(remoteId, true, ignored))
    return inform("Failed. Unknown reason, sorry.");
  if (reopenAfter) reopen(remoteId, true);
  inform("Failed. Locked by " + lockedBy);
}
GR_ENTRY_SIGNATURE(L0_Func_finish_import)

void L0_Func_commit() {
  Context context = diagramInContext();
  if (context.elementWithoutRemote) return inform("Commit parent first, sorry");
  if (!context.diagram.isNull()) context.diagram.setAttr("isReadOnly", true);
  if (context.remoteId.empty()) return inform("Commit parent first, sorry");
  L0_Func_set_remote_ids_for_new_child_diagrams(context.diagram);
  if (!L0_Func_ExportSharedArea(context.remoteId, false))
    return inform("Commit failed. Unknown reason, sorry.");
  L0_Func_closeDgrCmd(context.diagram);
  L0_Func_activeDgrCmd(context.diagram);
  inform("Commited");
}
GR_ENTRY_SIGNATURE(L0_Func_commit)

void L0_Func_finish_commit() {}
GR_ENTRY_SIGNATURE(L0_Func_finish_commit)

void L0_Func_release() {}
GR_ENTRY_SIGNATURE(L0_Func_release)

void L0_Func_set_remote_ids_for_new_child_diagrams(L0_Var_2 diagram) {
  for (L0_Var_2& element : elementsOf(diagram)) {
    L0_Var_2 target = firstOver(element, "target", "GraphDiagram");
    if (target.isNull() || !target.getAttr("remoteId").empty()) continue;
    std::string remoteId = L0_Func_GenerateSharedID();
    target.setAttr("remoteId", remoteId);
    element.setAttr("targetDiagramRemoteId", remoteId);
    L0_Func_export_diagram_to(target, true, remoteId);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_set_remote_ids_for_new_child_diagrams)

bool L0_Func_export_diagram_to(L0_Var_2 diagram, bool flag, std::string remoteId) {
  bool created = L0_Func_CreateSharedArea(remoteId, flag, diagram.getCurrObjID(), kReferenceMap,
                                          kStopClasses, kTraversalRoles);
  if (!created) gr::showMessageBox("Diagram export failed. Unknown reason, sorry.");
  return created;
}
GR_ENTRY_SIGNATURE(L0_Func_export_diagram_to)

std::string L0_Func_export_diagram_tree(L0_Var_2 diagram) {
  std::string remoteId = L0_Func_GenerateSharedID();
  diagram.setAttr("remoteId", remoteId);
  diagram.setAttr("isReadOnly", true);
  L0_Func_export_diagram_to(diagram, false, remoteId);
  for (L0_Var_2& element : elementsOf(diagram)) {
    L0_Var_2 target = gr::stable(firstOver(element, "target", "GraphDiagram"));
    if (target.isNull()) continue;
    element.setAttr("targetDiagramRemoteId", L0_Func_export_diagram_tree(target));
    deleteLocalDiagram(target);
  }
  return remoteId;
}
GR_ENTRY_SIGNATURE(L0_Func_export_diagram_tree)

void L0_Func_save_diagram_tree(L0_Var_2 diagram) {
  L0_Func_saveDgrCmd(diagram);
  for (L0_Var_2& element : elementsOf(diagram)) {
    L0_Var_2 target = firstOver(element, "target", "GraphDiagram");
    if (!target.isNull()) L0_Func_save_diagram_tree(target);
  }
}
GR_ENTRY_SIGNATURE(L0_Func_save_diagram_tree)

namespace {
L0_Var_2 projectDiagram() {
  return firstOver(gr::firstOf("Project"), "graphDiagram", "GraphDiagram");
}
}  // namespace

void L0_Func_convert_to_multiuser() {
  gr::showMessageBox("start conversion");
  L0_Var_2 top = projectDiagram();
  if (top.isNull()) return;
  L0_Func_save_diagram_tree(top);
  L0_Func_execTransfCmd_withoutDiagram("finished_convert_to_multiuser");
}
GR_ENTRY_SIGNATURE(L0_Func_convert_to_multiuser)

void L0_Func_finished_convert_to_multiuser() {
  L0_Var_2 top = projectDiagram();
  if (!top.isNull()) L0_Func_export_diagram_tree(top);
  gr::showMessageBox("conversion finished");
}
GR_ENTRY_SIGNATURE(L0_Func_finished_convert_to_multiuser)

L0_Var_2 L0_Func_get_graphDiagram_by_remote_id(std::string id) {
  return gr::firstWith("GraphDiagram", "remoteId", id);
}
GR_ENTRY_SIGNATURE(L0_Func_get_graphDiagram_by_remote_id)

void L0_Func_connect_seed_to_diagram_by_id(L0_Var_2 element) {
  std::string id = gr::optionalText(element, "targetDiagramRemoteId");
  if (id.empty()) return;
  L0_Var_2 diagram = L0_Func_get_graphDiagram_by_remote_id(id);
  if (!diagram.isNull()) element.addLink(diagram, "target");
}
GR_ENTRY_SIGNATURE(L0_Func_connect_seed_to_diagram_by_id)

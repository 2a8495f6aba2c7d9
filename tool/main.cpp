#include "tool/main.h"

#include <vector>

#include "configurator/Diagramtype_const.h"
#include "configurator/Project_diagram_const.h"
#include "configurator/Specificationdgr_const.h"
#include "tool/Commands.h"
#include "tool/Globals.h"
#include "tool/Utilities.h"

using gr::firstOf;
using gr::firstOver;

namespace {

// Event classes whose handler finds its event itself, in the order they are
// tested; an empty name means the event passes through untouched.
struct Dispatch {
  const char* eventClass;
  const char* transformation;
};
const Dispatch kByClass[] = {
    {"CloseActiveDiagramEvent", ""},
    {"PasteGraphClipboardEvent", ""},
    {"DeleteCollectionEvent", ""},
    {"CopyCutCollectionEvent", ""},
    {"CopyCollectionEvent", ""},
    {"MoveLineStartPointEvent", "MoveLineStartPoint"},
    {"MoveLineEndPointEvent", "MoveLineEndPoint"},
    {"L2ClickEvent", "L2Click"},
    {"LClickEvent", ""},
    {"RClickEvent", "RClick"},
    {"NewLineEvent", "NewLine"},
    {"NewBoxEvent", "NewBox"},
    {"NewPinEvent", "NewPin"},
    {"MicroButtonSelectEvent", ""},
    {"PopUpElemSelectEvent", "PopUpElemSelect"},
    {"ToolSelectEvent", "ToolSelect"},
    {"ToolElemSelectEvent", ""},
};
const Dispatch kAfterInfo[] = {
    {"ExecTransfEvent", "ExecTransf"},
    {"ChangeParentEvent", "ChangeParent"},
    {"CloseDgrEvent", ""},
    {"OKStyleDialogEvent", "OKStyleDialogEvent"},
};

void startEngines() {
  L0_Func_DialogEngine();
  L0_Func_GraphDiagramEngine();
  L0_Func_TreeEngine();
  L0_Func_HideInformationBar();
  L0_Func_MultiUserEngine();
}

// Runs the first matching row; true when a row matched.
template <std::size_t N>
bool dispatchByClass(const L0_Var_2& event, const Dispatch (&table)[N]) {
  for (const Dispatch& row : table) {
    if (!event.isTypeOf(row.eventClass)) continue;
    gr::runVoidReference(row.transformation);
    return true;
  }
  return false;
}

// The project events are used up once the project is set up.
void createProject(L0_Var_2& event) {
  for (const char* metamodel :
       {"TypeAndMappingMetamodel", "DomainMetamodel", "ImportExportMetamodel"})
    L0_Func_LoadMetamodel(metamodel);
  L0_Func_myconst();
  L0_Func_project_created(event);
  gr::stable(event).deleteObj();
}

void openProject(L0_Var_2& event) {
  L0_Func_project_opened(event);
  gr::stable(event).deleteObj();
}

void dialogEvent() {
  L0_Var_2 dialogEvent = firstOf("D#Event");
  if (dialogEvent.isNull()) return;
  L0_Var_2 button = firstOver(dialogEvent, "source", "D#Button");
  if (dialogEvent.getAttr("info") == "Click" && !button.isNull() && button.isTypeOf("D#Button")) {
    L0_Func_form_button_press(button);
    return;
  }
  dialogEvent.deleteObj();
}

}  // namespace

void L0_Func_Main() {
  startEngines();
  _elemVar__needToCallIt_ = true;
  _elemVar__is_logging_on_ = true;
  L0_Var_2 event = firstOf("Event");
  if (event.isNull()) return;
  if (dispatchByClass(event, kByClass)) return;
  std::string info = event.getAttr("info");
  if (info == "CancelButtonClick") {
    gr::runVoidReference("close_BoxProperties");
    return;
  }
  if (info == "OKButtonClick") return;
  if (dispatchByClass(event, kAfterInfo)) return;
  if (event.isTypeOf("CreateProjectEvent"))
    createProject(event);
  else if (event.isTypeOf("OpenProjectEvent"))
    openProject(event);
  else if (event.isTypeOf("KeyDownEvent"))
    gr::runVoidReference("KeyDown");
  else if (event.isTypeOf("OpenDgrEvent"))
    L0_Func_OpenDgrEvent(event);
  else
    dialogEvent();
}
GR_ENTRY_SIGNATURE(L0_Func_Main)

namespace {

struct Handler {
  const char* attribute;
  const char* value;
};
const Handler kHeadEngine[] = {{"onOpenProjectEvent", "main"}, {"onCloseProjectEvent", "main"}};
const Handler kGraphDiagramEngine[] = {
    {"onPopUpElemSelectEvent", "main"},
    {"onToolSelectEvent", "main"},
    {"onPasteGraphClipboardEvent", "main"},
    {"onCopyCutCollectionEvent", "main"},
    {"onCopyCollectionEvent", "main"},
    {"onMoveLineStartPointEvent", "main"},
    {"onMoveLineEndPointEvent", "main"},
    {"onL2ClickEvent", "main"},
    {"onLClickEvent", "main"},
    {"onRClickEvent", "main"},
    {"onNewLineEvent", "main"},
    {"onNewBoxEvent", "main"},
    {"onExecTransfEvent", "main"},
    {"onNewPinEvent", "main"},
    {"onChangeParentEvent", "main"},
    {"onOpenDgrEvent", "main"},
    {"onCloseDgrEvent", "main"},
    {"onOKStyleDialogEvent", "main"},
    {"onKeyDownEvent", "main#KeyDown"},
    {"onNewFreeBoxEvent", "main#NewFreeBox"},
    {"onNewFreeLineEvent", "main#NewFreeLine"},
    {"onFreeBoxEditedEvent", "main#FreeBoxEdited"},
    {"onFreeLineEditedEvent", "main#FreeLineEdited"},
};
const Handler kMultiUserEngine[] = {
    {"onConvertToMultiUserProjectEvent", "main#convert_to_multiuser"}};

template <std::size_t N>
void registerHandlers(L0_Var_2& engine, const Handler (&handlers)[N]) {
  for (const Handler& handler : handlers) engine.setAttr(handler.attribute, handler.value);
}

void registerEventHandlers() {
  L0_Var_2 head = firstOf("HeadEngine");
  if (head.isNull()) return;
  registerHandlers(head, kHeadEngine);
  L0_Var_2 diagramEngine = firstOf("GraphDiagramEngine");
  if (diagramEngine.isNull()) return;
  registerHandlers(diagramEngine, kGraphDiagramEngine);
  L0_Var_2 multiUser = firstOf("MultiUserEngine");
  if (!multiUser.isNull()) registerHandlers(multiUser, kMultiUserEngine);
}

L0_Var_2 projectDiagramType() {
  return L0_Func_get_graphDiagramType_by_id("projectDiagram");
}

void ensureClipboardAndQueueHead() {
  gr::firstOrNew("GraphClipboard");
  gr::firstOrNew("FirstCmdPtr");
}

}  // namespace

void L0_Func_myconst() {
  L0_Func_specificationDgr_const();
  L0_Func_project_diagram_const();
  L0_Func_diagramType_const();
  L0_Func_add_links_from_compartType_to_compartStyle();
  L0_Var_2 clipboard("GraphClipboard");
  clipboard.addObj("GraphClipboard");
  L0_Var_2 queueHead("FirstCmdPtr");
  queueHead.addObj("FirstCmdPtr");
  registerEventHandlers();
}
GR_ENTRY_SIGNATURE(L0_Func_myconst)

// A compartment style belongs both to its compartment type and to every
// style of the element type: each element style gets the compartment styles
// of the type's compartment types, and each compartment type those of the
// type's element styles. Existing links are left where they are: their
// order is meaning.
void L0_Func_add_links_from_compartType_to_compartStyle() {
  auto linkOnce = [](L0_Var_2& from, L0_Var_2& to, const char* role) {
    if (!from.checkLink(to, role)) from.addLink(to, role);
  };
  L0_Var_2 diagramType("GraphDiagramType");
  for (bool d = diagramType.setFirstToRoot("GraphDiagramType"); d; d = diagramType.next()) {
    L0_Var_2 elemType("ElemType");
    for (bool e = elemType.setFirstByRelation(diagramType, "elemType"); e; e = elemType.next()) {
      L0_Var_2 elemStyle("ElemStyle");
      for (bool s = elemStyle.setFirstByRelation(elemType, "elemStyle"); s; s = elemStyle.next()) {
        L0_Var_2 compartType("CompartType");
        for (bool c = compartType.setFirstByRelation(elemType, "compartType"); c;
             c = compartType.next()) {
          std::vector<L0_Var_2> ofType, ofStyle;
          L0_Var_2 style("CompartStyle");
          for (bool cs = style.setFirstByRelation(compartType, "compartStyle"); cs;
               cs = style.next())
            ofType.push_back(gr::stable(style));
          for (bool cs = style.setFirstByRelation(elemStyle, "compartStyle"); cs; cs = style.next())
            ofStyle.push_back(gr::stable(style));
          for (L0_Var_2& each : ofType) linkOnce(elemStyle, each, "compartStyle");
          for (L0_Var_2& each : ofStyle) linkOnce(compartType, each, "compartStyle");
        }
      }
    }
  }
}
GR_ENTRY_SIGNATURE(L0_Func_add_links_from_compartType_to_compartStyle)

void L0_Func_project_created(L0_Var_2 event) {
  writeToFile("", "l0_log");
  L0_Func_First(event.getAttr("info"));
  L0_Var_2 diagram = firstOf("GraphDiagram");
  if (!diagram.isNull()) L0_Func_execTransfCmd(diagram, "show_project_diagram");
  ensureClipboardAndQueueHead();
}
GR_ENTRY_SIGNATURE(L0_Func_project_created)

void L0_Func_project_opened(L0_Var_2 event) {
  std::string name = event.getAttr("info");
  L0_Var_2 diagram = firstOver(projectDiagramType(), "graphDiagram", "GraphDiagram");
  if (!diagram.isNull()) diagram.setAttr("caption", name);
  L0_Func_show_project_diagram();
  ensureClipboardAndQueueHead();
}
GR_ENTRY_SIGNATURE(L0_Func_project_opened)

void L0_Func_First(std::string name) {
  L0_Var_2 type = projectDiagramType();
  if (type.isNull()) {
    gr::showMessageBox("No projectDiagram type Error!");
    return;
  }
  L0_Var_2 existing = firstOver(type, "graphDiagram", "GraphDiagram");
  if (!existing.isNull()) {
    existing.setAttr("caption", name);
    return;
  }
  L0_Var_2 diagram("GraphDiagram");
  diagram.addObj("GraphDiagram");
  diagram.addLink(type, "graphDiagramType");
  diagram.setAttr("caption", name);
  L0_Var_2 project = gr::firstOrNew("Project");
  diagram.addLink(project, "project");
  project.setAttr("name", name);
}
GR_ENTRY_SIGNATURE(L0_Func_First)

void L0_Func_show_project_diagram() {
  L0_Var_2 diagram = firstOver(projectDiagramType(), "graphDiagram", "GraphDiagram");
  if (!diagram.isNull()) L0_Func_activeDgrCmd(diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_show_project_diagram)

void L0_Func_addTypeToProjectDgr(std::string caption) {
  L0_Var_2 diagram = gr::firstWith("GraphDiagram", "caption", caption);
  if (diagram.isNull()) return;
  L0_Var_2 type = projectDiagramType();
  type.addLink(diagram, "graphDiagram");
}
GR_ENTRY_SIGNATURE(L0_Func_addTypeToProjectDgr)

void L0_Func_OpenDgrEvent(L0_Var_2 event) {
  L0_Var_2 diagram = firstOver(event, "graphDiagram", "GraphDiagram");
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_OpenDgrEvent)

void L0_Func_form_button_press(L0_Var_2 button) {
  gr::runVoidReference(button.getAttr("transf_name"));
}
GR_ENTRY_SIGNATURE(L0_Func_form_button_press)

void L0_Func_log(std::string text) {
  if (_elemVar__is_logging_on_) appendLineToFile(text, "l0_log");
}
GR_ENTRY_SIGNATURE(L0_Func_log)

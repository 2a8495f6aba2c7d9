#include "exchange/Import.h"

#include "exchange/Import_export.h"
#include "runtime/ExchangeWriter.h"
#include "runtime/GraphExchange.h"
#include "tool/Commands.h"
#include "tool/Deletecollection.h"
#include "tool/Utilities.h"

using gr::exchange::first;
using gr::exchange::firstId;
using gr::exchange::objectIds;
using gr::exchange::objectsOf;
using gr::exchange::partnerIds;
using gr::exchange::partners;
using gr::exchange::textOf;

namespace {

const char* const kDiagramFile = "DiagramExportResult.txt";
const char* const kToolFile = "DiagramTypeExportResult.txt";

// Descriptors that depend on others resolve in a later pass; eleven bound
// the chain.
constexpr int kResolvePasses = 11;

// The lookups show why they fail only in the reporting pass.
bool reporting = false;

void report(const std::string& text) {
  if (reporting) gr::showMessageBox(text);
}

std::string idOf(const L0_Var_2& object) {
  return gr::optionalText(object, "id");
}

bool hasRole(const L0_Var_2& object, const std::string& role) {
  return !object.isNull() && RepositoryUser::getLinkTypeIdByName(object.actualClassId(), role) != 0;
}

L0_Var_2 projectDiagramType() {
  return L0_Func_get_graphDiagramType_by_id("projectDiagram");
}

// The project's own project diagram type: the one with the project diagram.
L0_Var_2 projectDiagramTypeWithDiagram() {
  for (const L0_Var_2& type : objectsOf("GraphDiagramType"))
    if (idOf(type) == "projectDiagram" && !first(type, "graphDiagram").isNull()) return type;
  return L0_Var_2();
}

// The current diagram, else the project diagram.
L0_Var_2 targetDiagram() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (!diagram.isNull()) return diagram;
  return first(projectDiagramType(), "graphDiagram");
}

// The reader writes to the store directly; counted there, not in the
// variables' lists of this generation.
bool anyDiagram() {
  const RepId cls = RepositoryUser::getObjectTypeIdByName("GraphDiagram");
  return cls != 0 && RepositoryUser::getObjectNum(cls) != 0;
}

bool read(const std::string& file) {
  const ExchangeImportReport report = importExchangeFile(gr::exchange::exchangeFilePath(file));
  return report.fileOpened && !report.refused;
}

// After a text was read whole, the continuation and the closing message run
// once what was read is in the project.
void continueAfter(bool readWhole, const std::string& continuation) {
  if (!readWhole) return;
  L0_Var_2 target = targetDiagram();
  if (!anyDiagram() || target.isNull()) return;
  L0_Func_execTransfCmd(target, continuation);
  L0_Func_execTransfCmd(target, "show_import_done");
}

bool carriesDescriptorFor(RepId object, const std::string& role) {
  for (RepId descriptor : partnerIds(object, "linkedObject"))
    if (textOf(descriptor, "roleName") == role) return true;
  return false;
}

// The object a descriptor leads to from the imported object T; null when a
// lookup fails.
L0_Var_2 resolve(const L0_Var_2& descriptor, const L0_Var_2& t) {
  const std::string start = descriptor.getAttr("navigStartInstance");
  const std::string idAttrName = descriptor.getAttr("idAttrName");
  const std::string idValue = descriptor.getAttr("idValue");
  if (start.empty())
    return L0_Func_getLinkedInstanceByClassName(descriptor.getAttr("navigEndClassName"), idAttrName,
                                                idValue);
  L0_Var_2 s = start == "self" ? t : L0_Func_getStartInstance(start);
  if (s.isNull()) return s;
  L0_Var_2 e = L0_Func_getEndInstance(s, descriptor.getAttr("navigExpr"));
  if (e.isNull()) return e;
  return L0_Func_getLinkedInstanceByAssocName(e, descriptor.getAttr("navigLink"), idAttrName,
                                              idValue);
}

// The text names no choice item of a compartment whose type lies in the
// receiving project: the item is the type's one with the compartment's value.
void selectItemOfValue(L0_Var_2& compartment, const L0_Var_2& type) {
  if (!hasRole(compartment, "selectedItem") || !first(compartment, "selectedItem").isNull()) return;
  const std::string value = compartment.getAttr("value");
  for (RepId item : partnerIds(type.getCurrObjID(), "choiceItem"))
    if (textOf(item, "value") == value) {
      compartment.addLink(L0_Var_2::fromObjectId(item), "selectedItem");
      return;
    }
}

// One pass: every imported object that a descriptor still points to. An
// import carries a descriptor for nearly every pointer, so the walk holds
// ids and makes variables only for descriptors that still have work.
void resolvePass() {
  for (RepId id : objectIds("LinkedObject")) {
    const std::vector<RepId> things = partnerIds(id, "thing");
    if (things.empty()) continue;
    L0_Var_2 descriptor = L0_Var_2::fromObjectId(id);
    const std::string role = descriptor.getAttr("roleName");
    for (RepId thing : things) {
      L0_Var_2 t = L0_Var_2::fromObjectId(thing);
      L0_Var_2 r = resolve(descriptor, t);
      if (r.isNull() || !hasRole(t, role)) continue;
      if (!t.checkLink(r, role)) t.addLink(r, role);
      if (role == "compartType") selectItemOfValue(t, r);
      descriptor.deleteLink(t, "thing");
    }
  }
}

// REPORT: the last pass shows what stays unresolved.
void resolveLinkedObjects(bool report) {
  for (int pass = 0; pass < kResolvePasses; ++pass) {
    reporting = report && pass == kResolvePasses - 1;
    resolvePass();
  }
  reporting = false;
  for (RepId descriptor : objectIds("LinkedObject"))
    if (partnerIds(descriptor, "thing").empty()) L0_Var_2::fromObjectId(descriptor).deleteObj();
}

void moveParts(const L0_Var_2& from, const L0_Var_2& to, const std::string& role) {
  if (to.isNull()) return;
  L0_Var_2 owner = to;
  for (L0_Var_2& part : partners(from, role)) {
    L0_Var_2 old = from;
    old.deleteLink(part, role);
    owner.addLink(part, role);
  }
}

bool hasShortcut(const L0_Var_2& type, const std::string& role, const L0_Var_2& shortcut) {
  for (const L0_Var_2& own : partners(type, role))
    if (own.getAttr("key") == shortcut.getAttr("key")) return true;
  return false;
}

bool hasItem(const L0_Var_2& popUp, const L0_Var_2& item) {
  for (const L0_Var_2& own : partners(popUp, "popUpElement"))
    if (own.getAttr("caption") == item.getAttr("caption") &&
        own.getAttr("procedure_name") == item.getAttr("procedure_name"))
      return true;
  return false;
}

// The attributes of OBJECT's class copied to a new object of the class.
L0_Var_2 copyOf(const L0_Var_2& object) {
  const std::string className = getClassName(object);
  L0_Var_2 copy(className);
  copy.addObj(className);
  RepIdList* attributes = GetPropertyTypeIdList(object.actualClassId());
  for (std::uint32_t i = 0, n = RepIdListCount(attributes); i < n; ++i) {
    const RepId attr = RepIdListItem(attributes, i);
    copy.setAttrById(attr, object.getAttr(attr));
  }
  RepIdListFree(attributes);
  return copy;
}

// What the surplus project diagram type still owns joins the project's own.
void mergeProjectDiagramTypes(L0_Var_2& surplus, L0_Var_2& kept) {
  moveParts(surplus, kept, "graphDiagram");
  moveParts(surplus, kept, "elemType");
  moveParts(first(surplus, "palette"), first(kept, "palette"), "paletteElement");
  moveParts(first(surplus, "toolbar"), first(kept, "toolbar"), "tool");
  L0_Var_2 seedDiagram =
      first(L0_Func_get_graphDiagramType_by_id("specificationDgr"), "graphDiagram");
  if (!seedDiagram.isNull() && !seedDiagram.checkLink(kept, "target_type"))
    seedDiagram.addLink(kept, "target_type");
  L0_Func_copyKeyboardShortcuts(surplus, kept);
  L0_Func_copyPopUpElements(surplus, kept);
}

// The type with what it owns: palettes and tool bars with their entries, its
// pop-ups with their items and its key shortcuts.
void deleteDiagramType(L0_Var_2& type) {
  for (const char* role : {"palette", "toolbar", "RClickEmpty", "RClickCollection"}) {
    for (L0_Var_2& owner : partners(type, role)) {
      for (const char* parts : {"paletteElement", "tool", "popUpElement"})
        for (L0_Var_2& part : partners(owner, parts)) part.deleteObj();
      owner.deleteObj();
    }
  }
  for (const char* role : {"eKeyboardShortcut", "cKeyboardShortcut"})
    for (L0_Var_2& shortcut : partners(type, role)) shortcut.deleteObj();
  type.deleteObj();
}

// Links every object of CLASSNAME that has nothing over ROLE to OWNER over
// OWNERROLE.
void adopt(const std::string& className, const std::string& role, L0_Var_2 owner,
           const std::string& ownerRole) {
  if (owner.isNull()) return;
  for (RepId object : objectIds(className))
    if (firstId(object, role) == badObjID) owner.addLink(L0_Var_2::fromObjectId(object), ownerRole);
}

}  // namespace

// ---- the import commands

void L0_Func_importElements() {
  L0_Func_deleteLinkedObjects();
  continueAfter(L0_Func_importElementsForReal(), "importElements_cont");
}
GR_ENTRY_SIGNATURE(L0_Func_importElements)

bool L0_Func_importElementsForReal() {
  return read(kDiagramFile);
}
GR_ENTRY_SIGNATURE(L0_Func_importElementsForReal)

void L0_Func_importDgrTypes() {
  L0_Func_deleteLinkedObjects();
  continueAfter(read(kToolFile), "importDgrTypes_cont");
}
GR_ENTRY_SIGNATURE(L0_Func_importDgrTypes)

void L0_Func_import() {
  L0_Func_deleteLinkedObjects();
  read("ExportResult.txt");
}
GR_ENTRY_SIGNATURE(L0_Func_import)

void L0_Func_show_import_done() {
  gr::showMessageBox("Import done!");
}
GR_ENTRY_SIGNATURE(L0_Func_show_import_done)

// ---- the continuations

void L0_Func_importElements_cont() {
  L0_Var_2 target = targetDiagram();
  if (target.isNull()) return;
  L0_Func_addOrphansToActiveDgr();
  L0_Func_processLinkedObjects();
  L0_Func_deleteObsoleteProjectDgrTypes();
  L0_Func_okCmd_graphDiagram(target);
}
GR_ENTRY_SIGNATURE(L0_Func_importElements_cont)

// The first resolution is silent: the diagram continuation resolves again
// and reports what is still open, once.
void L0_Func_importDgrTypes_cont() {
  resolveLinkedObjects(false);
  L0_Var_2 type = projectDiagramType();
  L0_Func_addGraphDiagramTypeToElemTypesWithoutGraphDiagramType(type);
  L0_Var_2 palette = first(type, "palette");
  if (!palette.isNull()) L0_Func_addPaletteToPaletteElementsWithoutPalette(palette);
  L0_Var_2 toolbar = first(type, "toolbar");
  if (!toolbar.isNull()) L0_Func_addToolBarToToolsWithoutToolbar(toolbar);
  L0_Var_2 diagram = first(type, "graphDiagram");
  if (!diagram.isNull()) L0_Func_okCmd_graphDiagram(diagram);
  L0_Func_importElements_cont();
  L0_Func_mergeSpecificationDiagrams();
}
GR_ENTRY_SIGNATURE(L0_Func_importDgrTypes_cont)

// An element that a descriptor places in the project diagram is no orphan:
// it is on its way there.
void L0_Func_addOrphansToActiveDgr() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (diagram.isNull()) return;
  for (RepId element : objectIds("Element")) {
    if (firstId(element, "graphDiagram") != badObjID ||
        firstId(element, "graphClipboard") != badObjID ||
        carriesDescriptorFor(element, "graphDiagram"))
      continue;
    diagram.addLink(L0_Var_2::fromObjectId(element), "element");
  }
}
GR_ENTRY_SIGNATURE(L0_Func_addOrphansToActiveDgr)

void L0_Func_processLinkedObjects() {
  resolveLinkedObjects(true);
}
GR_ENTRY_SIGNATURE(L0_Func_processLinkedObjects)

void L0_Func_deleteObsoleteProjectDgrTypes() {
  L0_Var_2 surplus = L0_Func_getProjectDgrTypeWithoutProjectDgr();
  if (surplus.isNull()) return;
  L0_Var_2 kept;
  for (const L0_Var_2& type : objectsOf("GraphDiagramType"))
    if (type != surplus && idOf(type) == "projectDiagram" && !first(type, "graphDiagram").isNull())
      kept = type;
  if (kept.isNull()) return;
  mergeProjectDiagramTypes(surplus, kept);
  deleteDiagramType(surplus);
}
GR_ENTRY_SIGNATURE(L0_Func_deleteObsoleteProjectDgrTypes)

L0_Var_2 L0_Func_getProjectDgrTypeWithoutProjectDgr() {
  for (const L0_Var_2& type : objectsOf("GraphDiagramType"))
    if (idOf(type) == "projectDiagram" && first(type, "graphDiagram").isNull()) return type;
  return L0_Var_2::declaredUnchecked("GraphDiagramType");
}
GR_ENTRY_SIGNATURE(L0_Func_getProjectDgrTypeWithoutProjectDgr)

// Shortcuts of keys the receiving type has no shortcut for.
void L0_Func_copyKeyboardShortcuts(L0_Var_2 from, L0_Var_2 to) {
  for (const char* role : {"eKeyboardShortcut", "cKeyboardShortcut"})
    for (const L0_Var_2& shortcut : partners(from, role))
      if (!hasShortcut(to, role, shortcut)) to.addLink(copyOf(shortcut), role);
}
GR_ENTRY_SIGNATURE(L0_Func_copyKeyboardShortcuts)

// Items the receiving pop-up of the same role does not have yet.
void L0_Func_copyPopUpElements(L0_Var_2 from, L0_Var_2 to) {
  for (const char* role : {"RClickEmpty", "RClickCollection"}) {
    L0_Var_2 target = first(to, role);
    if (target.isNull()) continue;
    for (const L0_Var_2& popUp : partners(from, role))
      for (const L0_Var_2& item : partners(popUp, "popUpElement"))
        if (!hasItem(target, item)) target.addLink(copyOf(item), "popUpElement");
  }
}
GR_ENTRY_SIGNATURE(L0_Func_copyPopUpElements)

void L0_Func_addGraphDiagramTypeToElemTypesWithoutGraphDiagramType(L0_Var_2 diagramType) {
  adopt("ElemType", "graphDiagramType", diagramType, "elemType");
}
GR_ENTRY_SIGNATURE(L0_Func_addGraphDiagramTypeToElemTypesWithoutGraphDiagramType)

void L0_Func_addPaletteToPaletteElementsWithoutPalette(L0_Var_2 palette) {
  adopt("PaletteElement", "palette", palette, "paletteElement");
}
GR_ENTRY_SIGNATURE(L0_Func_addPaletteToPaletteElementsWithoutPalette)

void L0_Func_addToolBarToToolsWithoutToolbar(L0_Var_2 toolbar) {
  adopt("Tool", "toolbar", toolbar, "tool");
}
GR_ENTRY_SIGNATURE(L0_Func_addToolBarToToolsWithoutToolbar)

// The first seed diagram takes the elements of the others, which
// are deleted.
void L0_Func_mergeSpecificationDiagrams() {
  std::vector<L0_Var_2> diagrams =
      partners(L0_Func_get_graphDiagramType_by_id("specificationDgr"), "graphDiagram");
  for (std::size_t i = 1; i < diagrams.size(); ++i) {
    for (L0_Var_2& element : partners(diagrams[i], "element")) {
      diagrams[i].deleteLink(element, "element");
      diagrams[0].addLink(element, "element");
    }
    gr::deleteDiagram(diagrams[i]);
  }
  // What the seed diagram defines is the project diagram's type,
  // which stays in the receiving project.
  L0_Var_2 defined = projectDiagramTypeWithDiagram();
  if (!diagrams.empty() && !defined.isNull() && hasRole(diagrams[0], "target_type") &&
      first(diagrams[0], "target_type").isNull())
    diagrams[0].addLink(defined, "target_type");
}
GR_ENTRY_SIGNATURE(L0_Func_mergeSpecificationDiagrams)

// ---- the lookups

L0_Var_2 L0_Func_getStartInstance(std::string text) {
  const auto dot = text.find('.');
  const std::string className = text.substr(0, dot);
  std::string attr, value;
  bool byValue = false;
  if (dot != std::string::npos) {
    const auto equals = text.find('=', dot);
    if (equals != std::string::npos) {
      byValue = true;
      attr = text.substr(dot + 1, equals - dot - 1);
      value = text.substr(equals + 1);
    }
  }
  for (const L0_Var_2& candidate : objectsOf(className))
    if (!byValue || gr::optionalText(candidate, attr) == value) return candidate;
  report("Start instance not found - " + text);
  return L0_Var_2();
}
GR_ENTRY_SIGNATURE(L0_Func_getStartInstance)

L0_Var_2 L0_Func_getEndInstance(L0_Var_2 start, std::string expr) {
  L0_Var_2 current = start;
  std::size_t from = 0;
  while (!expr.empty() && !current.isNull() && from <= expr.size()) {
    const auto dot = expr.find('.', from);
    current = first(current, expr.substr(from, dot == std::string::npos ? dot : dot - from));
    if (dot == std::string::npos) break;
    from = dot + 1;
  }
  if (current.isNull())
    report("Could not find end instance from start instance (" + getClassName(start) + " " +
           getObjectIdText(start) + ") by path " + expr);
  return current;
}
GR_ENTRY_SIGNATURE(L0_Func_getEndInstance)

L0_Var_2 L0_Func_getLinkedInstanceByAssocName(L0_Var_2 end, std::string role,
                                              std::string idAttrName, std::string idValue) {
  for (const L0_Var_2& candidate : partners(end, role))
    if (idAttrName.empty() || gr::optionalText(candidate, idAttrName) == idValue) return candidate;
  report("Could not find linked instance from start instance (className: " + getClassName(end) +
         ") by association name " + role + " where " + idAttrName + " = " + idValue);
  return L0_Var_2();
}
GR_ENTRY_SIGNATURE(L0_Func_getLinkedInstanceByAssocName)

L0_Var_2 L0_Func_getLinkedInstanceByClassName(std::string className, std::string idAttrName,
                                              std::string idValue) {
  for (const L0_Var_2& candidate : objectsOf(className))
    if (idAttrName.empty() || gr::optionalText(candidate, idAttrName) == idValue) return candidate;
  report("Could not find linked instance of class " + className + " where " + idAttrName + " = " +
         idValue);
  return L0_Var_2();
}
GR_ENTRY_SIGNATURE(L0_Func_getLinkedInstanceByClassName)

#include "exchange/Import_export.h"

#include <unordered_map>
#include <unordered_set>

#include "exchange/Linked_objects.h"
#include "runtime/ExchangeWriter.h"
#include "runtime/Generation.h"
#include "runtime/GraphExport.h"
#include "tool/Commands.h"
#include "tool/Utilities.h"

// The console's helper (tool/Keydown.cpp): a handler of this library.
L0_TRANSFORMATION L0_Var_2 L0_Func_add_d_eventHandler_main(L0_Var_2 component,
                                                           std::string eventName,
                                                           std::string transformationName);

using gr::exchange::first;
using gr::exchange::partners;

namespace gr::exchange {

std::vector<RepId> partnerIds(RepId from, const std::string& role) {
  std::vector<RepId> result;
  if (from == badObjID) return result;
  const RepId linkType =
      RepositoryUser::getLinkTypeIdByName(RepositoryUser::getObjectTypeId(from), role);
  if (linkType == 0) return result;
  const std::uint32_t count = RepositoryUser::getLinkedObjectNum(from, linkType);
  result.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i)
    result.push_back(RepositoryUser::getLinkedObjectIdByIndex(from, linkType, i));
  return result;
}

RepId firstId(RepId from, const std::string& role) {
  if (from == badObjID) return badObjID;
  const RepId linkType =
      RepositoryUser::getLinkTypeIdByName(RepositoryUser::getObjectTypeId(from), role);
  if (linkType == 0 || RepositoryUser::getLinkedObjectNum(from, linkType) == 0) return badObjID;
  return RepositoryUser::getLinkedObjectIdByIndex(from, linkType, 0);
}

std::vector<RepId> objectIds(const std::string& className) {
  std::vector<RepId> result;
  const RepId cls = RepositoryUser::getObjectTypeIdByName(className);
  if (cls == 0) return result;
  const std::uint32_t count = RepositoryUser::getObjectNum(cls);
  result.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i)
    result.push_back(RepositoryUser::getObjectIdByIndex(cls, i));
  return result;
}

std::string textOf(RepId object, const std::string& attribute) {
  if (object == badObjID) return "";
  const RepId attr =
      RepositoryUser::getPropertyTypeIdByName(RepositoryUser::getObjectTypeId(object), attribute);
  return attr == 0 ? "" : RepositoryUser::getProperty(object, attr);
}

std::string classNameOf(RepId object) {
  return RepositoryUser::getTypeName(RepositoryUser::getObjectTypeId(object));
}

namespace {

std::vector<L0_Var_2> variables(const std::vector<RepId>& ids) {
  std::vector<L0_Var_2> result;
  result.reserve(ids.size());
  for (RepId object : ids) result.push_back(L0_Var_2::fromObjectId(object));
  return result;
}

}  // namespace

std::vector<L0_Var_2> partners(const L0_Var_2& from, const std::string& role) {
  return variables(partnerIds(from.isNull() ? badObjID : from.getCurrObjID(), role));
}

L0_Var_2 first(const L0_Var_2& from, const std::string& role) {
  const RepId found = firstId(from.isNull() ? badObjID : from.getCurrObjID(), role);
  return found == badObjID ? L0_Var_2() : L0_Var_2::fromObjectId(found);
}

std::vector<L0_Var_2> objectsOf(const std::string& className) {
  return variables(objectIds(className));
}

}  // namespace gr::exchange

namespace {

using gr::exchange::objectsOf;

// The classes of a diagram export, and those whose items stand under
// another's.
const char* const kDiagramClasses[] = {"GraphDiagram", "Element", "Node",     "Edge",
                                       "Port",         "FreeBox", "FreeLine", "Compartment",
                                       "LinkedObject", "Thing"};
const char* const kToolClasses[] = {"GraphDiagram",
                                    "Element",
                                    "Node",
                                    "Edge",
                                    "Port",
                                    "FreeBox",
                                    "FreeLine",
                                    "Compartment",
                                    "GraphDiagramType",
                                    "ElemType",
                                    "NodeType",
                                    "EdgeType",
                                    "PortType",
                                    "CompartType",
                                    "Palette",
                                    "PaletteElement",
                                    "PaletteBox",
                                    "PaletteLine",
                                    "PalettePin",
                                    "PaletteFreeBox",
                                    "PaletteFreeLine",
                                    "Toolbar",
                                    "Tool",
                                    "PopUpDiagram",
                                    "PopUpElement",
                                    "ElemStyle",
                                    "NodeStyle",
                                    "EdgeStyle",
                                    "PortStyle",
                                    "CompartStyle",
                                    "ChoiceItem",
                                    "Notation",
                                    "Pair",
                                    "PropertyDiagram",
                                    "PropertyRow",
                                    "PropertyTab",
                                    "KeyboardShortcut",
                                    "LinkedObject",
                                    "Thing"};
const char* const kProfileClasses[] = {"CompartType", "ChoiceItem",   "CompartStyle",
                                       "ElemStyle",   "NodeStyle",    "EdgeStyle",
                                       "PortStyle",   "LinkedObject", "Thing"};

// The graph export of a diagram with its subdiagrams. PresentationElement
// joins the classes whose other links are not followed: this metamodel
// keeps the roles that elements and compartments share on it.
const char* const kGraphDescriptors =
    "GraphDiagram.graphDiagramType-_L0_Func_getLOforGDType;Element.elemType-_L0_Func_"
    "getLOforElemType;Compartment.compartType-_L0_Func_getLOforCompartType;Element.elemStyle-_"
    "L0_Func_getLOforElemStyle;Compartment.compartStyle-_L0_Func_getLOforCompartStyle";
const char* const kGraphClasses =
    "GraphDiagram;Element;Node;Edge;Port;Compartment;PresentationElement";
const char* const kGraphRoles =
    "GraphDiagram.element;Element.compartment;Compartment.subCompartment;Element.target;Element."
    "eStart;Element.eEnd";

const char* const kDiagramFile = "DiagramExportResult.txt";
const char* const kToolFile = "DiagramTypeExportResult.txt";

enum class Registration { Data, Full };

// The ExportItem of each class, found once per export: every object of an
// export asks for its class's. An item deleted meanwhile (a new export made
// new ones) is looked for again.
class ExportItemsByClass {
 public:
  RepId itemFor(const std::string& className) {
    const auto found = items_.find(className);
    if (found != items_.end() && ObjectExists(found->second) &&
        gr::exchange::textOf(found->second, "className") == className)
      return found->second;
    items_.clear();
    for (RepId item : gr::exchange::objectIds("ExportItem"))
      items_.emplace(gr::exchange::textOf(item, "className"), item);
    const auto again = items_.find(className);
    return again == items_.end() ? badObjID : again->second;
  }

 private:
  std::unordered_map<std::string, RepId> items_;
};

// An object, not a pointer left to leak: the library may be unloaded while
// its host goes on.
ExportItemsByClass& exportItems() {
  static ExportItemsByClass items;
  return items;
}

}  // namespace

void gr::exchange::registerForExport(RepId object) {
  const RepId item = exportItems().itemFor(classNameOf(object));
  if (item == badObjID) return;
  const RepId thing =
      RepositoryUser::getLinkTypeIdByName(RepositoryUser::getObjectTypeId(item), "thing");
  if (thing != 0 && !AlreadyConnected(thing, item, object))
    RepositoryUser::createLink(thing, item, object);
}

namespace {

void registerObject(RepId object, Registration how) {
  if (how == Registration::Data)
    gr::exchange::registerForExport(object);
  else
    L0_Func_addToExportItems(L0_Var_2::fromObjectId(object));
}

void deleteAll(const std::string& className) {
  for (RepId object : gr::exchange::objectIds(className))
    if (ObjectExists(object)) RepositoryUser::deleteObject(object);
}

L0_Var_2 newExportItem(const std::string& className) {
  L0_Var_2 item("ExportItem");
  item.addObj("ExportItem");
  item.setAttr("instances", "");
  item.setAttr("className", className);
  return item;
}

// Each item under the item of its class's superclass, where there is one.
template <std::size_t N>
void makeExportItems(const char* const (&classes)[N]) {
  deleteAll("ExportItem");
  std::unordered_map<std::string, L0_Var_2> items;
  for (const char* name : classes) items.emplace(name, newExportItem(name));
  for (const char* name : classes) {
    const RepId cls = RepositoryUser::getObjectTypeIdByName(name);
    const RepId super = cls == 0 ? 0 : GetExtendsId(cls);
    const auto found = items.find(RepositoryUser::getTypeName(super));
    if (super != 0 && found != items.end()) items.at(name).addLink(found->second, "superClass");
  }
}

// ---- what a diagram export takes

using gr::exchange::firstId;
using gr::exchange::partnerIds;

void exportCompartmentTree(RepId compartment, Registration how) {
  gr::exchange::describeCompartType(compartment);
  registerObject(compartment, how);
  for (RepId sub : partnerIds(compartment, "subCompartment")) exportCompartmentTree(sub, how);
}

void exportCompartments(RepId element, Registration how) {
  for (RepId compartment : partnerIds(element, "compartment"))
    exportCompartmentTree(compartment, how);
}

void exportElement(RepId element, Registration how) {
  gr::exchange::describeProjectDiagram(element);
  gr::exchange::describeElemType(element);
  registerObject(element, how);
  exportCompartments(element, how);
}

void exportDiagramOfElement(RepId element, Registration how) {
  exportElement(element, how);
  const RepId diagram = firstId(element, "target");
  if (diagram == badObjID) return;
  gr::exchange::describeDiagramType(diagram);
  registerObject(diagram, how);
  for (RepId inner : partnerIds(diagram, "element")) exportElement(inner, how);
}

void registerDescriptors(Registration how) {
  for (RepId descriptor : gr::exchange::objectIds("LinkedObject")) registerObject(descriptor, how);
}

RepId id(const L0_Var_2& object) {
  return object.isNull() ? badObjID : object.getCurrObjID();
}

// The selection the export commands work on: that of the current diagram,
// or of the project diagram when no diagram is current.
std::vector<L0_Var_2> selectedElements() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (diagram.isNull())
    diagram = first(L0_Func_get_graphDiagramType_by_id("projectDiagram"), "graphDiagram");
  return partners(first(diagram, "collection"), "element");
}

// ---- writing

using gr::exchange::ValueMode;
using gr::exchange::WriteCounts;

void writeDataExport(const std::string& fileName) {
  WriteCounts counts;
  const std::string text = gr::exchange::writeDataText(ValueMode::Import, &counts);
  if (text.empty()) return;
  if (gr::exchange::writeExchangeFile(text, gr::exchange::exchangeFilePath(fileName), counts))
    gr::showMessageBox("Export done!");
}

void writeFullExport(const std::string& fileName) {
  WriteCounts counts;
  const std::string text =
      gr::exchange::writeFullText(L0_Func_getExportString(), ValueMode::Import, &counts);
  if (text.empty()) return;
  if (gr::exchange::writeExchangeFile(text, gr::exchange::exchangeFilePath(fileName), counts))
    gr::showMessageBox("Export done!");
}

void exportDiagram(Registration how) {
  L0_Func_prepareExportItems();
  L0_Func_deleteLinkedObjects();
  L0_Var_2 element = L0_Func_get_active_element();
  if (!element.isNull()) exportDiagramOfElement(id(element), how);
  registerDescriptors(how);
  how == Registration::Data ? writeDataExport(kDiagramFile) : writeFullExport(kDiagramFile);
}

void exportSelection(Registration how) {
  L0_Func_prepareExportItems();
  L0_Func_deleteLinkedObjects();
  for (const L0_Var_2& element : selectedElements()) {
    if (element.isTypeOf("Node"))
      exportDiagramOfElement(id(element), how);
    else
      exportElement(id(element), how);
  }
  registerDescriptors(how);
  how == Registration::Data ? writeDataExport(kDiagramFile) : writeFullExport(kDiagramFile);
}

void exportGraph(const L0_Var_2& start) {
  L0_Func_deleteLinkedObjects();
  if (start.isNull()) return;
  exportGraphFromObject(start, kGraphDescriptors, kGraphClasses, kGraphRoles);
  if (gr::exchange::lastExchangeWrite().written) gr::showMessageBox("Export done!");
}

// Positions of objects among those of their class, kept for one generation:
// the full writer asks for every object it registers.
class InstancePositions {
 public:
  int position(RepId cls, ObjID object) {
    if (generation_ != currentGeneration) {
      positions_.clear();
      generation_ = currentGeneration;
    }
    auto& ofClass = positions_[cls];
    auto found = ofClass.find(object);
    if (found == ofClass.end()) {
      fill(cls, ofClass);
      found = ofClass.find(object);
    }
    return found == ofClass.end() ? -1 : found->second;
  }

 private:
  static void fill(RepId cls, std::unordered_map<ObjID, int>& ofClass) {
    ofClass.clear();
    const std::uint32_t count = RepositoryUser::getObjectNum(cls);
    for (std::uint32_t i = 0; i < count; ++i)
      ofClass.emplace(RepositoryUser::getObjectIdByIndex(cls, i), static_cast<int>(i));
  }

  int32_t generation_ = -1;
  std::unordered_map<RepId, std::unordered_map<ObjID, int>> positions_;
};

InstancePositions& instancePositions() {
  static InstancePositions positions;
  return positions;
}

}  // namespace

// ---- the bookkeeping

L0_Var_2 L0_Func_getExportItemByClassName(std::string name) {
  const RepId item = exportItems().itemFor(name);
  return item == badObjID ? L0_Var_2::declaredUnchecked("ExportItem")
                          : L0_Var_2::fromObjectId(item);
}
GR_ENTRY_SIGNATURE(L0_Func_getExportItemByClassName)

void L0_Func_addToExportItems_new(L0_Var_2 obj) {
  if (!obj.isNull()) gr::exchange::registerForExport(obj.getCurrObjID());
}
GR_ENTRY_SIGNATURE(L0_Func_addToExportItems_new)

void L0_Func_addToExportItems(L0_Var_2 obj) {
  if (obj.isNull()) return;
  const std::string className = getClassName(obj);
  L0_Var_2 item = L0_Func_getExportItemByClassName(className);
  if (!item.isNull())
    L0_Func_addInstanceNrToExportItem(item, L0_Func_getInstanceNr(className, obj));
}
GR_ENTRY_SIGNATURE(L0_Func_addToExportItems)

int L0_Func_getInstanceNr(std::string className, L0_Var_2 obj) {
  const RepId cls = RepositoryUser::getObjectTypeIdByName(className);
  if (cls == 0 || obj.isNull()) return -1;
  return instancePositions().position(cls, obj.getCurrObjID());
}
GR_ENTRY_SIGNATURE(L0_Func_getInstanceNr)

void L0_Func_addInstanceNrToExportItem(L0_Var_2 item, int n) {
  std::string instances = item.getAttr("instances");
  if (!instances.empty()) instances += ",";
  item.setAttr("instances", instances + std::to_string(n));
}
GR_ENTRY_SIGNATURE(L0_Func_addInstanceNrToExportItem)

std::string L0_Func_getExportString() {
  std::string spec;
  for (const L0_Var_2& item : objectsOf("ExportItem"))
    spec += item.getAttr("className") + "(" + item.getAttr("instances") + ")";
  return spec;
}
GR_ENTRY_SIGNATURE(L0_Func_getExportString)

void L0_Func_prepareExportItems() {
  deleteAll("ExportItem");
  std::unordered_map<std::string, L0_Var_2> items;
  for (const char* name : kDiagramClasses) items.emplace(name, newExportItem(name));
  for (const char* name : {"Node", "Edge", "Port"})
    items.at(name).addLink(items.at("Element"), "superClass");
}
GR_ENTRY_SIGNATURE(L0_Func_prepareExportItems)

void L0_Func_prepareExportItemsForDgrExport() {
  makeExportItems(kToolClasses);
}
GR_ENTRY_SIGNATURE(L0_Func_prepareExportItemsForDgrExport)

void L0_Func_prepareExportItemsForProfileExport() {
  makeExportItems(kProfileClasses);
}
GR_ENTRY_SIGNATURE(L0_Func_prepareExportItemsForProfileExport)

void L0_Func_deleteLinkedObjects() {
  deleteAll("LinkedObject");
}
GR_ENTRY_SIGNATURE(L0_Func_deleteLinkedObjects)

void L0_Func_addLinkedObjectExport_new() {
  registerDescriptors(Registration::Data);
}
GR_ENTRY_SIGNATURE(L0_Func_addLinkedObjectExport_new)

std::string L0_Func_generateExportString_new(bool importMode) {
  return gr::exchange::writeDataText(importMode ? ValueMode::Import : ValueMode::Escaping);
}
GR_ENTRY_SIGNATURE(L0_Func_generateExportString_new)

std::string L0_Func_generateExportString(std::string spec, bool importMode) {
  return gr::exchange::writeFullText(spec, importMode ? ValueMode::Import : ValueMode::Escaping);
}
GR_ENTRY_SIGNATURE(L0_Func_generateExportString)

// ---- what a diagram export takes

void L0_Func_addDiagramExport_new(L0_Var_2 element) {
  if (!element.isNull()) exportDiagramOfElement(id(element), Registration::Data);
}
GR_ENTRY_SIGNATURE(L0_Func_addDiagramExport_new)

void L0_Func_addDiagramExport(L0_Var_2 element) {
  if (!element.isNull()) exportDiagramOfElement(id(element), Registration::Full);
}
GR_ENTRY_SIGNATURE(L0_Func_addDiagramExport)

void L0_Func_addCompartExport_new(L0_Var_2 element) {
  if (!element.isNull()) exportCompartments(id(element), Registration::Data);
}
GR_ENTRY_SIGNATURE(L0_Func_addCompartExport_new)

// ---- the export commands

void L0_Func_exportDiagram_new() {
  exportDiagram(Registration::Data);
}
GR_ENTRY_SIGNATURE(L0_Func_exportDiagram_new)

void L0_Func_exportDiagram() {
  exportDiagram(Registration::Full);
}
GR_ENTRY_SIGNATURE(L0_Func_exportDiagram)

void L0_Func_exportAllDiagrams_new() {
  exportSelection(Registration::Data);
}
GR_ENTRY_SIGNATURE(L0_Func_exportAllDiagrams_new)

void L0_Func_exportAllDiagrams() {
  exportSelection(Registration::Full);
}
GR_ENTRY_SIGNATURE(L0_Func_exportAllDiagrams)

void L0_Func_exportDiagramWithSubdiagrams() {
  exportGraph(L0_Func_get_current_diagram());
}
GR_ENTRY_SIGNATURE(L0_Func_exportDiagramWithSubdiagrams)

void L0_Func_exportSeedWithDgr() {
  exportGraph(L0_Func_get_active_element());
}
GR_ENTRY_SIGNATURE(L0_Func_exportSeedWithDgr)

void L0_Func_exportDgrWithSeed() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 seed = first(diagram, "source");
  exportGraph(seed.isNull() ? diagram : seed);
}
GR_ENTRY_SIGNATURE(L0_Func_exportDgrWithSeed)

void L0_Func_exportDiagram_universal() {
  L0_Func_prepareExportItems();
  L0_Func_deleteLinkedObjects();
  writeDataExport("UniversalDiagramExportResult.txt");
}
GR_ENTRY_SIGNATURE(L0_Func_exportDiagram_universal)

// ---- tool definitions

namespace {

// Collects a tool definition: each object goes to the export once, in the
// order that puts owners before what they own.
class ToolCollector {
 public:
  explicit ToolCollector(bool withSeeds) : withSeeds_(withSeeds) {}

  void diagramType(const L0_Var_2& type) {
    if (!take(type)) return;
    for (const L0_Var_2& palette : partners(type, "palette")) owner(palette, "paletteElement");
    for (const L0_Var_2& toolbar : partners(type, "toolbar")) owner(toolbar, "tool");
    for (const char* role : {"RClickEmpty", "RClickCollection"})
      for (const L0_Var_2& popUp : partners(type, role)) owner(popUp, "popUpElement");
    for (const char* role : {"eKeyboardShortcut", "cKeyboardShortcut"})
      for (const L0_Var_2& shortcut : partners(type, role)) take(shortcut);
    for (const L0_Var_2& elemType : partners(type, "elemType")) this->elemType(elemType);
    // The project diagram's box type that makes diagrams of this type, with
    // its palette entry.
    for (const L0_Var_2& boxType : partners(type, "source")) {
      this->elemType(boxType);
      for (const L0_Var_2& entry : partners(boxType, "paletteElement")) take(entry);
    }
    if (withSeeds_) takeSeedDiagram(type);
  }

 private:
  bool take(const L0_Var_2& object) {
    if (object.isNull() || !taken_.insert(object.getCurrObjID()).second) return false;
    L0_Func_addToExportItems_new(object);
    return true;
  }

  void owner(const L0_Var_2& object, const std::string& partsRole) {
    if (!take(object)) return;
    for (const L0_Var_2& part : partners(object, partsRole)) take(part);
  }

  void elemType(const L0_Var_2& type) {
    if (!take(type)) return;
    for (const L0_Var_2& style : partners(type, "elemStyle")) owner(style, "compartStyle");
    for (const L0_Var_2& compartType : partners(type, "compartType"))
      this->compartType(compartType);
    for (const L0_Var_2& popUp : partners(type, "popUpDiagram")) owner(popUp, "popUpElement");
    for (const L0_Var_2& shortcut : partners(type, "keyboardShortcut")) take(shortcut);
    for (const L0_Var_2& diagram : partners(type, "propertyDiagram")) propertyDiagram(diagram);
    for (const L0_Var_2& pair : partners(type, "pair")) take(pair);
  }

  void compartType(const L0_Var_2& type) {
    if (!take(type)) return;
    for (const L0_Var_2& style : partners(type, "compartStyle")) take(style);
    for (const L0_Var_2& item : partners(type, "choiceItem")) owner(item, "notation");
    for (const L0_Var_2& sub : partners(type, "subCompartType")) compartType(sub);
    for (const L0_Var_2& diagram : partners(type, "propertyDiagram")) propertyDiagram(diagram);
  }

  void propertyDiagram(const L0_Var_2& diagram) {
    if (!take(diagram)) return;
    for (const L0_Var_2& tab : partners(diagram, "propertyTab")) {
      take(tab);
      for (const L0_Var_2& row : partners(tab, "propertyRow")) propertyRow(row);
    }
    for (const L0_Var_2& row : partners(diagram, "propertyRow")) propertyRow(row);
  }

  void propertyRow(const L0_Var_2& row) {
    take(row);
    for (const L0_Var_2& called : partners(row, "calledDiagram")) propertyDiagram(called);
  }

  // The seed in the seed diagram, the diagram it is in, and the
  // type diagrams: drawn with the configurator's own tools, so their types
  // and styles travel as descriptors.
  void takeSeedDiagram(const L0_Var_2& type) {
    L0_Var_2 seed = first(type, "representation");
    if (!seed.isNull()) {
      drawnElement(seed);
      L0_Var_2 diagram = first(seed, "graphDiagram");
      if (!diagram.isNull() && taken_.count(diagram.getCurrObjID()) == 0) {
        L0_Func_setDgrTypeId(diagram);
        take(diagram);
      }
    }
    for (const L0_Var_2& typeDiagram : partners(type, "presentation")) {
      if (taken_.count(typeDiagram.getCurrObjID())) continue;
      L0_Func_setDgrTypeId(typeDiagram);
      take(typeDiagram);
      for (const L0_Var_2& element : partners(typeDiagram, "element")) drawnElement(element);
    }
  }

  void drawnElement(const L0_Var_2& element) {
    if (taken_.count(element.getCurrObjID())) return;
    exportElement(element.getCurrObjID(), Registration::Data);
    taken_.insert(element.getCurrObjID());
  }

  bool withSeeds_;
  std::unordered_set<ObjID> taken_;
};

// The diagram types of the selected seeds; every defined tool when the
// selection holds none.
std::vector<L0_Var_2> diagramTypesToExport() {
  std::vector<L0_Var_2> types;
  for (const L0_Var_2& element : selectedElements()) {
    L0_Var_2 type = first(element, "source");
    if (!type.isNull()) types.push_back(type);
  }
  if (!types.empty()) return types;
  for (const L0_Var_2& type : objectsOf("GraphDiagramType"))
    if (!first(type, "representation").isNull()) types.push_back(type);
  return types;
}

L0_Var_2 newComponent(const std::string& className, L0_Var_2& container) {
  L0_Var_2 component(className);
  component.addObj(className);
  container.addLink(component, "component");
  return component;
}

void addButton(L0_Var_2& buttons, const std::string& caption, const std::string& transformation) {
  L0_Var_2 button = newComponent("D#Button", buttons);
  button.setAttr("caption", caption);
  button.setAttr("closeOnClick", true);
  if (!transformation.empty()) L0_Func_add_d_eventHandler_main(button, "Click", transformation);
}

}  // namespace

void L0_Func_exportDgrTypesForReal(bool withSeeds) {
  const std::vector<L0_Var_2> types = diagramTypesToExport();
  L0_Func_prepareExportItemsForDgrExport();
  L0_Func_deleteLinkedObjects();
  ToolCollector collector(withSeeds);
  for (const L0_Var_2& type : types) collector.diagramType(type);
  registerDescriptors(Registration::Data);
  writeDataExport(kToolFile);
}
GR_ENTRY_SIGNATURE(L0_Func_exportDgrTypesForReal)

void L0_Func_ExportDgrTypesWithoutSpec() {
  L0_Func_exportDgrTypesForReal(false);
}
GR_ENTRY_SIGNATURE(L0_Func_ExportDgrTypesWithoutSpec)

void L0_Func_ExportDgrTypesWithSpec() {
  L0_Func_exportDgrTypesForReal(true);
}
GR_ENTRY_SIGNATURE(L0_Func_ExportDgrTypesWithSpec)

void L0_Func_exportDgrTypes() {
  L0_Var_2 form("D#Form");
  form.addObj("D#Form");
  form.setAttr("id", "DiagramTypeExport");
  form.setAttr("caption", "Diagram Type Export");
  L0_Var_2 buttons = newComponent("D#HorizontalBox", form);
  addButton(buttons, "Excluding Specification", "ExportDgrTypesWithoutSpec");
  addButton(buttons, "Including Specification", "ExportDgrTypesWithSpec");
  addButton(buttons, "Cancel", "");
  L0_Func_d_cmd(form, "ShowModal");
  L0_Func_d_cmd(form, "Delete");
}
GR_ENTRY_SIGNATURE(L0_Func_exportDgrTypes)

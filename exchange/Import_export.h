// Export: the export bookkeeping (an ExportItem per class taking part, the
// objects it holds), the selection of what a diagram or tool export takes,
// the two writers' entries and the export commands with their files.
// Pointers to objects left outside an export are recorded by LinkedObject
// descriptors (exchange/Linked_objects.h); the import is exchange/Import.h.
#pragma once

#include <vector>

#include "tool/Transformation.h"

// ---- the bookkeeping
// The first ExportItem whose className is NAME, else null.
L0_TRANSFORMATION L0_Var_2 L0_Func_getExportItemByClassName(std::string name);
// Links OBJ over `thing` to the ExportItem of its class; nothing when there
// is none (or OBJ is held already).
L0_TRANSFORMATION void L0_Func_addToExportItems_new(L0_Var_2 obj);
// The full writer's counterpart: OBJ's position among the objects of its
// class is appended to the item's `instances`.
L0_TRANSFORMATION void L0_Func_addToExportItems(L0_Var_2 obj);
// The 0-based position of OBJ among the objects of the class (its own
// objects first, then those of its subclasses), -1 when absent.
L0_TRANSFORMATION int L0_Func_getInstanceNr(std::string className, L0_Var_2 obj);
L0_TRANSFORMATION void L0_Func_addInstanceNrToExportItem(L0_Var_2 item, int n);
// className "(" instances ")" over all ExportItems: the full writer's spec.
L0_TRANSFORMATION std::string L0_Func_getExportString();
// Deletes every ExportItem and makes one per class of a diagram export, a
// tool export and a profile export.
L0_TRANSFORMATION void L0_Func_prepareExportItems();
L0_TRANSFORMATION void L0_Func_prepareExportItemsForDgrExport();
L0_TRANSFORMATION void L0_Func_prepareExportItemsForProfileExport();
L0_TRANSFORMATION void L0_Func_deleteLinkedObjects();
L0_TRANSFORMATION void L0_Func_addLinkedObjectExport_new();
L0_TRANSFORMATION std::string L0_Func_generateExportString_new(bool importMode);
L0_TRANSFORMATION std::string L0_Func_generateExportString(std::string spec, bool importMode);

// ---- what a diagram export takes
// The element, its descriptors and compartments; then its child diagram
// (over `target`) with every element of it.
L0_TRANSFORMATION void L0_Func_addDiagramExport_new(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_addDiagramExport(L0_Var_2 element);
// Every compartment of the element with its sub-compartments, depth first.
L0_TRANSFORMATION void L0_Func_addCompartExport_new(L0_Var_2 element);

// ---- the export commands
// The active element's diagram: "DiagramExportResult.txt".
L0_TRANSFORMATION void L0_Func_exportDiagram_new();
L0_TRANSFORMATION void L0_Func_exportDiagram();
// The elements of the current selection: "DiagramExportResult.txt".
L0_TRANSFORMATION void L0_Func_exportAllDiagrams_new();
L0_TRANSFORMATION void L0_Func_exportAllDiagrams();
// The form "Diagram Type Export" that asks whether the seeds go too.
L0_TRANSFORMATION void L0_Func_exportDgrTypes();
L0_TRANSFORMATION void L0_Func_ExportDgrTypesWithoutSpec();
L0_TRANSFORMATION void L0_Func_ExportDgrTypesWithSpec();
// The tool definitions of the selected seeds (all defined tools when no seed
// is selected): "DiagramTypeExportResult.txt".
L0_TRANSFORMATION void L0_Func_exportDgrTypesForReal(bool withSeeds);
// Through the graph export: "DiagramExportResult.txt".
L0_TRANSFORMATION void L0_Func_exportDiagramWithSubdiagrams();
L0_TRANSFORMATION void L0_Func_exportSeedWithDgr();
L0_TRANSFORMATION void L0_Func_exportDgrWithSeed();
// The frame of the exchange text only: "UniversalDiagramExportResult.txt".
L0_TRANSFORMATION void L0_Func_exportDiagram_universal();

namespace gr::exchange {
// Every object over ROLE from FROM, in link order, each in a variable of its
// own class; none when FROM is null or its class has no such role.
std::vector<L0_Var_2> partners(const L0_Var_2& from, const std::string& role);
// The first of them, or null.
L0_Var_2 first(const L0_Var_2& from, const std::string& role);
// Every object of the class and its subclasses, in the store's order.
std::vector<L0_Var_2> objectsOf(const std::string& className);

// The same by ids, for the walks that touch every object of an export or an
// import: they make variables only for the transformations they call.
std::vector<RepId> partnerIds(RepId from, const std::string& role);
RepId firstId(RepId from, const std::string& role);
std::vector<RepId> objectIds(const std::string& className);
// The attribute's text, "" when the object's class has no such attribute.
std::string textOf(RepId object, const std::string& attribute);
std::string classNameOf(RepId object);
// Links OBJECT over `thing` to the ExportItem of its class (data writer).
void registerForExport(RepId object);
}  // namespace gr::exchange

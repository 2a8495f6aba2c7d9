// Import: reading an exchange text into the current project, then tying the
// new objects into it. The reader (runtime/GraphExchange.h) runs the text;
// the continuations run as queued transformations once that is done:
// elements without a diagram join the current diagram, LinkedObject
// descriptors are resolved against the receiving project, and tool
// definitions are merged with the project's own.
#pragma once

#include "tool/Transformation.h"

// ---- the import commands
// "DiagramExportResult.txt", then importElements_cont and show_import_done.
L0_TRANSFORMATION void L0_Func_importElements();
// Reads "DiagramExportResult.txt"; false when it was missing or refused.
L0_TRANSFORMATION bool L0_Func_importElementsForReal();
// "DiagramTypeExportResult.txt", then importDgrTypes_cont and show_import_done.
L0_TRANSFORMATION void L0_Func_importDgrTypes();
// "ExportResult.txt", nothing further.
L0_TRANSFORMATION void L0_Func_import();
L0_TRANSFORMATION void L0_Func_show_import_done();

// ---- the continuations
L0_TRANSFORMATION void L0_Func_importElements_cont();
L0_TRANSFORMATION void L0_Func_importDgrTypes_cont();
// Elements that came without a diagram (and are on no clipboard) join the
// current diagram.
L0_TRANSFORMATION void L0_Func_addOrphansToActiveDgr();
// Eleven passes over the descriptors; what is still unresolved in the last
// one is reported. Descriptors resolved for all their objects are deleted.
L0_TRANSFORMATION void L0_Func_processLinkedObjects();
L0_TRANSFORMATION void L0_Func_deleteObsoleteProjectDgrTypes();
L0_TRANSFORMATION L0_Var_2 L0_Func_getProjectDgrTypeWithoutProjectDgr();
L0_TRANSFORMATION void L0_Func_copyKeyboardShortcuts(L0_Var_2 from, L0_Var_2 to);
L0_TRANSFORMATION void L0_Func_copyPopUpElements(L0_Var_2 from, L0_Var_2 to);
L0_TRANSFORMATION void L0_Func_addGraphDiagramTypeToElemTypesWithoutGraphDiagramType(
    L0_Var_2 diagramType);
L0_TRANSFORMATION void L0_Func_addPaletteToPaletteElementsWithoutPalette(L0_Var_2 palette);
L0_TRANSFORMATION void L0_Func_addToolBarToToolsWithoutToolbar(L0_Var_2 toolbar);
L0_TRANSFORMATION void L0_Func_mergeSpecificationDiagrams();

// ---- the lookups of a descriptor (null when they fail; in the reporting
// pass they show why)
L0_TRANSFORMATION L0_Var_2 L0_Func_getStartInstance(std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_getEndInstance(L0_Var_2 start, std::string expr);
L0_TRANSFORMATION L0_Var_2 L0_Func_getLinkedInstanceByAssocName(L0_Var_2 end, std::string role,
                                                                std::string idAttrName,
                                                                std::string idValue);
L0_TRANSFORMATION L0_Var_2 L0_Func_getLinkedInstanceByClassName(std::string className,
                                                                std::string idAttrName,
                                                                std::string idValue);

// LinkedObject descriptors: how the import side finds, in the receiving
// project, an object that an exported object points to but that the export
// leaves out (its type, its style, the project diagram). The diagram exports
// make one descriptor per pointer; the graph export's descriptor functions
// make one per referenced object, keyed by the ids on its way up to its
// diagram type.
#pragma once

#include "tool/Transformation.h"

// ---- one descriptor per pointer (the diagram exports)
L0_TRANSFORMATION void L0_Func_setDgrTypeId(L0_Var_2 diagram);
L0_TRANSFORMATION void L0_Func_setElemTypeId(L0_Var_2 element);
L0_TRANSFORMATION void L0_Func_setCompTypeId(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_setIsInProjectDiagram(L0_Var_2 element);
// The roles from an element (a compartment) to the object whose styles hold
// its style.
L0_TRANSFORMATION std::string L0_Func_getNavigExprForElement(L0_Var_2 element);
L0_TRANSFORMATION std::string L0_Func_getNavigExprForCompartment(L0_Var_2 compartment);

// ---- one descriptor per referenced object (the graph export): each gives
// the descriptor's id, "" when the object points nowhere over that role.
L0_TRANSFORMATION std::string L0_Func_getLOforGDType(L0_Var_2 diagram);
L0_TRANSFORMATION std::string L0_Func_getLOforElemType(L0_Var_2 element);
L0_TRANSFORMATION std::string L0_Func_getLOforElemStyle(L0_Var_2 element);
L0_TRANSFORMATION std::string L0_Func_getLOforCompartType(L0_Var_2 compartment);
L0_TRANSFORMATION std::string L0_Func_getLOforCompartStyle(L0_Var_2 compartment);
// The keys of referenced objects: their `id`s joined by ":" on the way up.
L0_TRANSFORMATION std::string L0_Func_getElemTypeId(L0_Var_2 type);
L0_TRANSFORMATION std::string L0_Func_getElemStyleId(L0_Var_2 style);
L0_TRANSFORMATION std::string L0_Func_getCompartTypeId(L0_Var_2 type);
L0_TRANSFORMATION std::string L0_Func_getCompartStyleId(L0_Var_2 style);
// Whether a descriptor with this id is in the project.
L0_TRANSFORMATION bool L0_Func_existsLOById(std::string id);

namespace gr::exchange {
struct Descriptor {
  std::string navigStartInstance, navigExpr, navigLink, navigEndClassName, idAttrName, idValue,
      roleName;
};
// A new LinkedObject with these values (and `id`), linked from OWNER over
// `linkedObject` unless OWNER is null.
L0_Var_2 addLinkedObject(const L0_Var_2& owner, const Descriptor& values, const std::string& id);
// The diagram exports' descriptors of one object, by id: setDgrTypeId,
// setElemTypeId, setCompTypeId and setIsInProjectDiagram.
void describeDiagramType(RepId diagram);
void describeElemType(RepId element);
void describeCompartType(RepId compartment);
void describeProjectDiagram(RepId element);
}  // namespace gr::exchange

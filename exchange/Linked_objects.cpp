#include "exchange/Linked_objects.h"

#include "exchange/Import_export.h"
#include "tool/Utilities.h"

using gr::exchange::Descriptor;
using gr::exchange::firstId;
using gr::exchange::textOf;

namespace {

RepId id(const L0_Var_2& object) {
  return object.isNull() ? badObjID : object.getCurrObjID();
}

std::string idOf(RepId object) {
  return object == badObjID ? "" : textOf(object, "id");
}

// The old tools kept the referenced type's id in an attribute of the
// exported object and emptied it before the descriptor took over; a class
// without that attribute has nothing to empty.
void clearAttribute(RepId object, const std::string& name) {
  const RepId attr =
      RepositoryUser::getPropertyTypeIdByName(RepositoryUser::getObjectTypeId(object), name);
  if (attr != 0) RepositoryUser::setProperty(object, attr, "");
}

// A descriptor made from the store directly: a diagram export makes one for
// nearly every pointer of every element.
RepId makeDescriptor(RepId owner, const Descriptor& values, const std::string& key) {
  const RepId cls = RepositoryUser::getObjectTypeIdByName("LinkedObject");
  const RepId descriptor = RepositoryUser::createObject(cls);
  const std::pair<const char*, const std::string*> fields[] = {
      {"navigStartInstance", &values.navigStartInstance},
      {"navigExpr", &values.navigExpr},
      {"navigLink", &values.navigLink},
      {"navigEndClassName", &values.navigEndClassName},
      {"idAttrName", &values.idAttrName},
      {"idValue", &values.idValue},
      {"roleName", &values.roleName},
      {"id", &key}};
  for (const auto& [name, value] : fields)
    RepositoryUser::setProperty(descriptor, RepositoryUser::getPropertyTypeIdByName(cls, name),
                                *value);
  if (owner != badObjID)
    RepositoryUser::createLink(
        RepositoryUser::getLinkTypeIdByName(RepositoryUser::getObjectTypeId(owner), "linkedObject"),
        owner, descriptor);
  return descriptor;
}

Descriptor diagramTypeRow(RepId type) {
  return {"", "", "", "GraphDiagramType", "id", idOf(type), "graphDiagramType"};
}

Descriptor elemTypeRow(RepId type) {
  return {"self", "graphDiagram.graphDiagramType", "elemType", "", "id", idOf(type), "elemType"};
}

std::string navigExprForElement(RepId element) {
  if (firstId(element, "target_type") != badObjID) return "target_type";
  const std::string typeId = idOf(firstId(element, "elemType"));
  if (typeId == "NodeStyle" || typeId == "subStyle" || typeId == "elemStyle_type")
    return "eEnd.start.target_type";
  return "elemType";
}

std::string navigExprForCompartment(RepId compartment) {
  const RepId element = firstId(compartment, "element");
  if (element == badObjID) return "parentCompartment.compartType";
  const RepId elemType = firstId(element, "elemType");
  const RepId owner = firstId(firstId(compartment, "compartType"), "elemType");
  if (elemType != badObjID && owner != badObjID && owner != elemType) return "element.target_type";
  return "element.elemType";
}

// A style is found by its id among the styles of its type; a style without
// a type is the first one there.
Descriptor elemStyleRow(RepId element, RepId style) {
  const bool typed = firstId(style, "elemType") != badObjID;
  return {"self",
          navigExprForElement(element),
          "elemStyle",
          "",
          typed ? "id" : "",
          typed ? idOf(style) : "",
          "elemStyle"};
}

Descriptor compartTypeRow(RepId compartment, RepId type) {
  const bool topLevel = firstId(compartment, "element") != badObjID;
  return {"self",
          navigExprForCompartment(compartment),
          topLevel ? "compartType" : "subCompartType",
          "",
          "id",
          idOf(type),
          "compartType"};
}

Descriptor compartStyleRow(RepId style) {
  const bool typed = firstId(style, "compartType") != badObjID;
  return {
      "self",        "compartType", "compartStyle", "", typed ? "id" : "", typed ? idOf(style) : "",
      "compartStyle"};
}

// The graph export's descriptors are shared by every object that points to
// the same referenced object: KEY names it.
std::string sharedDescriptor(const std::string& key, const Descriptor& row) {
  if (!L0_Func_existsLOById(key)) makeDescriptor(badObjID, row, key);
  return key;
}

std::string elemTypeKey(RepId type) {
  const RepId diagramType = firstId(type, "graphDiagramType");
  if (diagramType == badObjID) return idOf(type);
  return idOf(diagramType) + ":" + idOf(type);
}

std::string compartTypeKey(RepId type) {
  const RepId elemType = firstId(type, "elemType");
  if (elemType != badObjID) return elemTypeKey(elemType) + ":" + idOf(type);
  const RepId parent = firstId(type, "parentCompartType");
  if (parent != badObjID) return compartTypeKey(parent) + ":" + idOf(type);
  return idOf(type);
}

std::string elemStyleKey(RepId style) {
  const RepId diagramType = firstId(firstId(style, "elemType"), "graphDiagramType");
  if (diagramType == badObjID) return idOf(style);
  return idOf(diagramType) + ":" + idOf(style);
}

std::string compartStyleKey(RepId style) {
  const RepId type = firstId(style, "compartType");
  const RepId elemType = firstId(type, "elemType");
  if (elemType != badObjID) return elemTypeKey(elemType) + ":" + idOf(style);
  const RepId parent = firstId(type, "parentCompartType");
  if (parent != badObjID) return compartTypeKey(parent) + ":" + idOf(style);
  return idOf(style);
}

}  // namespace

namespace gr::exchange {

L0_Var_2 addLinkedObject(const L0_Var_2& owner, const Descriptor& values, const std::string& key) {
  return L0_Var_2::fromObjectId(makeDescriptor(id(owner), values, key));
}

void describeDiagramType(RepId diagram) {
  clearAttribute(diagram, "graphDgrType");
  const RepId type = firstId(diagram, "graphDiagramType");
  if (type != badObjID) makeDescriptor(diagram, diagramTypeRow(type), "");
}

void describeElemType(RepId element) {
  clearAttribute(element, "elemType");
  const RepId type = firstId(element, "elemType");
  if (type != badObjID) makeDescriptor(element, elemTypeRow(type), "");
  const RepId style = firstId(element, "elemStyle");
  if (style != badObjID) makeDescriptor(element, elemStyleRow(element, style), "");
}

void describeCompartType(RepId compartment) {
  clearAttribute(compartment, "compartType");
  const RepId type = firstId(compartment, "compartType");
  if (type != badObjID) makeDescriptor(compartment, compartTypeRow(compartment, type), "");
  const RepId style = firstId(compartment, "compartStyle");
  if (style != badObjID) makeDescriptor(compartment, compartStyleRow(style), "");
}

void describeProjectDiagram(RepId element) {
  const RepId type = firstId(firstId(element, "graphDiagram"), "graphDiagramType");
  if (type == badObjID || idOf(type) != "projectDiagram") return;
  makeDescriptor(
      element,
      {"GraphDiagramType.id=projectDiagram", "", "graphDiagram", "", "", "", "graphDiagram"}, "");
}

}  // namespace gr::exchange

// ---- one descriptor per pointer

void L0_Func_setDgrTypeId(L0_Var_2 diagram) {
  if (!diagram.isNull()) gr::exchange::describeDiagramType(id(diagram));
}
GR_ENTRY_SIGNATURE(L0_Func_setDgrTypeId)

void L0_Func_setElemTypeId(L0_Var_2 element) {
  if (!element.isNull()) gr::exchange::describeElemType(id(element));
}
GR_ENTRY_SIGNATURE(L0_Func_setElemTypeId)

void L0_Func_setCompTypeId(L0_Var_2 compartment) {
  if (!compartment.isNull()) gr::exchange::describeCompartType(id(compartment));
}
GR_ENTRY_SIGNATURE(L0_Func_setCompTypeId)

void L0_Func_setIsInProjectDiagram(L0_Var_2 element) {
  if (!element.isNull()) gr::exchange::describeProjectDiagram(id(element));
}
GR_ENTRY_SIGNATURE(L0_Func_setIsInProjectDiagram)

// Configurator elements wear the style of the type they define; the style
// elements of a type diagram that of the type at the far end of their line.
std::string L0_Func_getNavigExprForElement(L0_Var_2 element) {
  return element.isNull() ? "elemType" : navigExprForElement(id(element));
}
GR_ENTRY_SIGNATURE(L0_Func_getNavigExprForElement)

std::string L0_Func_getNavigExprForCompartment(L0_Var_2 compartment) {
  return compartment.isNull() ? "parentCompartment.compartType"
                              : navigExprForCompartment(id(compartment));
}
GR_ENTRY_SIGNATURE(L0_Func_getNavigExprForCompartment)

// ---- one descriptor per referenced object

std::string L0_Func_getLOforGDType(L0_Var_2 diagram) {
  const RepId type = firstId(id(diagram), "graphDiagramType");
  if (type == badObjID) return "";
  return sharedDescriptor("GraphDiagramType_" + idOf(type), diagramTypeRow(type));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforGDType)

std::string L0_Func_getLOforElemType(L0_Var_2 element) {
  const RepId type = firstId(id(element), "elemType");
  if (type == badObjID) return "";
  return sharedDescriptor("ElemType_" + elemTypeKey(type), elemTypeRow(type));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforElemType)

std::string L0_Func_getLOforElemStyle(L0_Var_2 element) {
  const RepId style = firstId(id(element), "elemStyle");
  if (style == badObjID) return "";
  return sharedDescriptor("ElemStyle_" + elemStyleKey(style), elemStyleRow(id(element), style));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforElemStyle)

std::string L0_Func_getLOforCompartType(L0_Var_2 compartment) {
  const RepId type = firstId(id(compartment), "compartType");
  if (type == badObjID) return "";
  return sharedDescriptor("CompartType_" + compartTypeKey(type),
                          compartTypeRow(id(compartment), type));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforCompartType)

std::string L0_Func_getLOforCompartStyle(L0_Var_2 compartment) {
  const RepId style = firstId(id(compartment), "compartStyle");
  if (style == badObjID) return "";
  return sharedDescriptor("CompartStyle_" + compartStyleKey(style), compartStyleRow(style));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforCompartStyle)

std::string L0_Func_getElemTypeId(L0_Var_2 type) {
  return elemTypeKey(id(type));
}
GR_ENTRY_SIGNATURE(L0_Func_getElemTypeId)

std::string L0_Func_getElemStyleId(L0_Var_2 style) {
  return elemStyleKey(id(style));
}
GR_ENTRY_SIGNATURE(L0_Func_getElemStyleId)

std::string L0_Func_getCompartTypeId(L0_Var_2 type) {
  return compartTypeKey(id(type));
}
GR_ENTRY_SIGNATURE(L0_Func_getCompartTypeId)

std::string L0_Func_getCompartStyleId(L0_Var_2 style) {
  return compartStyleKey(id(style));
}
GR_ENTRY_SIGNATURE(L0_Func_getCompartStyleId)

// Asked of the project rather than of the keys seen in this process: the
// diagram exports delete every descriptor before they start, so a key seen
// by an earlier export may have lost its descriptor.
bool L0_Func_existsLOById(std::string key) {
  for (RepId descriptor : gr::exchange::objectIds("LinkedObject"))
    if (textOf(descriptor, "id") == key) return true;
  return false;
}
GR_ENTRY_SIGNATURE(L0_Func_existsLOById)

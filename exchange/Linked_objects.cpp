#include "exchange/Linked_objects.h"

#include "exchange/Import_export.h"
#include "tool/Utilities.h"

using gr::exchange::Descriptor;
using gr::exchange::first;

namespace {

std::string idOf(const L0_Var_2& object) {
  return gr::optionalText(object, "id");
}

// The old tools kept the referenced type's id in an attribute of the
// exported object and emptied it before the descriptor took over; a class
// without that attribute has nothing to empty.
void clearAttribute(L0_Var_2& object, const std::string& name) {
  if (object.isNull()) return;
  if (RepositoryUser::getPropertyTypeIdByName(object.actualClassId(), name) != 0)
    object.setAttr(name, "");
}

Descriptor diagramTypeRow(const L0_Var_2& type) {
  return {"", "", "", "GraphDiagramType", "id", idOf(type), "graphDiagramType"};
}

Descriptor elemTypeRow(const L0_Var_2& type) {
  return {"self", "graphDiagram.graphDiagramType", "elemType", "", "id", idOf(type), "elemType"};
}

// A style is found by its id among the styles of its type; a style without
// a type is the first one there.
Descriptor elemStyleRow(const L0_Var_2& element, const L0_Var_2& style) {
  const bool typed = !first(style, "elemType").isNull();
  return {"self",
          L0_Func_getNavigExprForElement(element),
          "elemStyle",
          "",
          typed ? "id" : "",
          typed ? idOf(style) : "",
          "elemStyle"};
}

Descriptor compartTypeRow(const L0_Var_2& compartment, const L0_Var_2& type) {
  const bool topLevel = !first(compartment, "element").isNull();
  return {"self",
          L0_Func_getNavigExprForCompartment(compartment),
          topLevel ? "compartType" : "subCompartType",
          "",
          "id",
          idOf(type),
          "compartType"};
}

Descriptor compartStyleRow(const L0_Var_2& style) {
  const bool typed = !first(style, "compartType").isNull();
  return {
      "self",        "compartType", "compartStyle", "", typed ? "id" : "", typed ? idOf(style) : "",
      "compartStyle"};
}

// The graph export's descriptors are shared by every object that points to
// the same referenced object: KEY names it.
std::string sharedDescriptor(const std::string& key, const Descriptor& row) {
  if (!L0_Func_existsLOById(key)) gr::exchange::addLinkedObject(L0_Var_2(), row, key);
  return key;
}

}  // namespace

L0_Var_2 gr::exchange::addLinkedObject(const L0_Var_2& owner, const Descriptor& values,
                                       const std::string& id) {
  L0_Var_2 descriptor("LinkedObject");
  descriptor.addObj("LinkedObject");
  descriptor.setAttr("navigStartInstance", values.navigStartInstance);
  descriptor.setAttr("navigExpr", values.navigExpr);
  descriptor.setAttr("navigLink", values.navigLink);
  descriptor.setAttr("navigEndClassName", values.navigEndClassName);
  descriptor.setAttr("idAttrName", values.idAttrName);
  descriptor.setAttr("idValue", values.idValue);
  descriptor.setAttr("roleName", values.roleName);
  descriptor.setAttr("id", id);
  if (!owner.isNull()) {
    L0_Var_2 from = gr::stable(owner);
    from.addLink(descriptor, "linkedObject");
  }
  return descriptor;
}

// ---- one descriptor per pointer

void L0_Func_setDgrTypeId(L0_Var_2 diagram) {
  clearAttribute(diagram, "graphDgrType");
  L0_Var_2 type = first(diagram, "graphDiagramType");
  if (!type.isNull()) gr::exchange::addLinkedObject(diagram, diagramTypeRow(type), "");
}
GR_ENTRY_SIGNATURE(L0_Func_setDgrTypeId)

void L0_Func_setElemTypeId(L0_Var_2 element) {
  clearAttribute(element, "elemType");
  L0_Var_2 type = first(element, "elemType");
  if (!type.isNull()) gr::exchange::addLinkedObject(element, elemTypeRow(type), "");
  L0_Var_2 style = first(element, "elemStyle");
  if (!style.isNull()) gr::exchange::addLinkedObject(element, elemStyleRow(element, style), "");
}
GR_ENTRY_SIGNATURE(L0_Func_setElemTypeId)

void L0_Func_setCompTypeId(L0_Var_2 compartment) {
  clearAttribute(compartment, "compartType");
  L0_Var_2 type = first(compartment, "compartType");
  if (!type.isNull())
    gr::exchange::addLinkedObject(compartment, compartTypeRow(compartment, type), "");
  L0_Var_2 style = first(compartment, "compartStyle");
  if (!style.isNull()) gr::exchange::addLinkedObject(compartment, compartStyleRow(style), "");
}
GR_ENTRY_SIGNATURE(L0_Func_setCompTypeId)

void L0_Func_setIsInProjectDiagram(L0_Var_2 element) {
  L0_Var_2 type = first(first(element, "graphDiagram"), "graphDiagramType");
  if (type.isNull() || idOf(type) != "projectDiagram") return;
  gr::exchange::addLinkedObject(
      element,
      {"GraphDiagramType.id=projectDiagram", "", "graphDiagram", "", "", "", "graphDiagram"}, "");
}
GR_ENTRY_SIGNATURE(L0_Func_setIsInProjectDiagram)

// Configurator elements wear the style of the type they define; the style
// elements of a type diagram that of the type at the far end of their line.
std::string L0_Func_getNavigExprForElement(L0_Var_2 element) {
  if (!first(element, "target_type").isNull()) return "target_type";
  const std::string typeId = idOf(first(element, "elemType"));
  if (typeId == "NodeStyle" || typeId == "subStyle" || typeId == "elemStyle_type")
    return "eEnd.start.target_type";
  return "elemType";
}
GR_ENTRY_SIGNATURE(L0_Func_getNavigExprForElement)

std::string L0_Func_getNavigExprForCompartment(L0_Var_2 compartment) {
  L0_Var_2 element = first(compartment, "element");
  if (element.isNull()) return "parentCompartment.compartType";
  L0_Var_2 elemType = first(element, "elemType");
  L0_Var_2 owner = first(first(compartment, "compartType"), "elemType");
  if (!elemType.isNull() && !owner.isNull() && owner != elemType) return "element.target_type";
  return "element.elemType";
}
GR_ENTRY_SIGNATURE(L0_Func_getNavigExprForCompartment)

// ---- one descriptor per referenced object

std::string L0_Func_getLOforGDType(L0_Var_2 diagram) {
  L0_Var_2 type = first(diagram, "graphDiagramType");
  if (type.isNull()) return "";
  return sharedDescriptor("GraphDiagramType_" + idOf(type), diagramTypeRow(type));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforGDType)

std::string L0_Func_getLOforElemType(L0_Var_2 element) {
  L0_Var_2 type = first(element, "elemType");
  if (type.isNull()) return "";
  return sharedDescriptor("ElemType_" + L0_Func_getElemTypeId(type), elemTypeRow(type));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforElemType)

std::string L0_Func_getLOforElemStyle(L0_Var_2 element) {
  L0_Var_2 style = first(element, "elemStyle");
  if (style.isNull()) return "";
  return sharedDescriptor("ElemStyle_" + L0_Func_getElemStyleId(style),
                          elemStyleRow(element, style));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforElemStyle)

std::string L0_Func_getLOforCompartType(L0_Var_2 compartment) {
  L0_Var_2 type = first(compartment, "compartType");
  if (type.isNull()) return "";
  return sharedDescriptor("CompartType_" + L0_Func_getCompartTypeId(type),
                          compartTypeRow(compartment, type));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforCompartType)

std::string L0_Func_getLOforCompartStyle(L0_Var_2 compartment) {
  L0_Var_2 style = first(compartment, "compartStyle");
  if (style.isNull()) return "";
  return sharedDescriptor("CompartStyle_" + L0_Func_getCompartStyleId(style),
                          compartStyleRow(style));
}
GR_ENTRY_SIGNATURE(L0_Func_getLOforCompartStyle)

std::string L0_Func_getElemTypeId(L0_Var_2 type) {
  L0_Var_2 diagramType = first(type, "graphDiagramType");
  if (diagramType.isNull()) return idOf(type);
  return idOf(diagramType) + ":" + idOf(type);
}
GR_ENTRY_SIGNATURE(L0_Func_getElemTypeId)

std::string L0_Func_getElemStyleId(L0_Var_2 style) {
  L0_Var_2 diagramType = first(first(style, "elemType"), "graphDiagramType");
  if (diagramType.isNull()) return idOf(style);
  return idOf(diagramType) + ":" + idOf(style);
}
GR_ENTRY_SIGNATURE(L0_Func_getElemStyleId)

std::string L0_Func_getCompartTypeId(L0_Var_2 type) {
  L0_Var_2 elemType = first(type, "elemType");
  if (!elemType.isNull()) return L0_Func_getElemTypeId(elemType) + ":" + idOf(type);
  L0_Var_2 parent = first(type, "parentCompartType");
  if (!parent.isNull()) return L0_Func_getCompartTypeId(parent) + ":" + idOf(type);
  return idOf(type);
}
GR_ENTRY_SIGNATURE(L0_Func_getCompartTypeId)

std::string L0_Func_getCompartStyleId(L0_Var_2 style) {
  L0_Var_2 type = first(style, "compartType");
  L0_Var_2 elemType = first(type, "elemType");
  if (!elemType.isNull()) return L0_Func_getElemTypeId(elemType) + ":" + idOf(style);
  L0_Var_2 parent = first(type, "parentCompartType");
  if (!parent.isNull()) return L0_Func_getCompartTypeId(parent) + ":" + idOf(style);
  return idOf(style);
}
GR_ENTRY_SIGNATURE(L0_Func_getCompartStyleId)

// Asked of the project rather than of the keys seen in this process: the
// diagram exports delete every descriptor before they start, so a key seen
// by an earlier export may have lost its descriptor.
bool L0_Func_existsLOById(std::string id) {
  for (const L0_Var_2& descriptor : gr::exchange::objectsOf("LinkedObject"))
    if (descriptor.getAttr("id") == id) return true;
  return false;
}
GR_ENTRY_SIGNATURE(L0_Func_existsLOById)

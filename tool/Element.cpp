#include "tool/Element.h"

#include <vector>

#include "tool/Commands.h"
#include "tool/Compartment.h"
#include "tool/Deletecollection.h"
#include "tool/Utilities.h"

using gr::firstOver;

namespace {

L0_Var_2 typeOfElement(const L0_Var_2& element) {
  return firstOver(element, "elemType", "ElemType");
}

std::string captionOf(const L0_Var_2& object) {
  return object.isNull() ? "" : object.getAttrOfActualClass("caption");
}

void showInformation(const std::string& text) {
  L0_Func_ShowInformationBar(text);
}

// Elements of the type and of its subtypes in the diagram.
// Counts up to LIMIT only: whether a limit is reached needs no more.
int countInDiagram(const L0_Var_2& type, const L0_Var_2& diagram, int limit, int depth = 0) {
  if (depth > 64) return 0;
  int count = 0;
  L0_Var_2 element("Element");
  for (bool found = element.setFirstByRelation(type, "element"); found && count < limit;
       found = element.next())
    if (element.checkLink(diagram, "graphDiagram")) ++count;
  L0_Var_2 sub("ElemType");
  for (bool found = sub.setFirstByRelation(type, "subtype"); found && count < limit;
       found = sub.next())
    count += countInDiagram(sub, diagram, limit - count, depth + 1);
  return count;
}

// Edges of the type or its subtypes that leave (ROLE eStart) or reach (eEnd) the element.
int countEdgesAt(const L0_Var_2& element, const std::string& role, const L0_Var_2& type) {
  int count = 0;
  L0_Var_2 edge("Edge");
  for (bool found = edge.setFirstByRelation(element, role); found; found = edge.next())
    if (L0_Func_is_subtype_of(typeOfElement(edge), type)) ++count;
  return count;
}

bool constraintExceeded(const std::string& constraint, int count) {
  return !constraint.empty() && IsInt(constraint) && count >= StrToInt(constraint);
}

// Elements are counted only for a type that has a limit: a diagram of many
// elements costs nothing when its types set none.
bool elementLimitReached(const std::string& constraint, const L0_Var_2& type,
                         const L0_Var_2& diagram) {
  if (constraint.empty() || !IsInt(constraint)) return false;
  int limit = StrToInt(constraint);
  return limit <= 0 || countInDiagram(type, diagram, limit) >= limit;
}

// A supertype of another kind (a line type under a box type) lacks the
// attribute and so contributes no constraint.
bool edgeMultiplicityAllows(const L0_Var_2& type, const L0_Var_2& start, const L0_Var_2& end) {
  for (const L0_Var_2& t : gr::typeAndSupertypes(type)) {
    std::string startLimit = gr::optionalText(t, "startMultiplicityConstraint");
    std::string endLimit = gr::optionalText(t, "endMultiplicityConstraint");
    if (!startLimit.empty() && constraintExceeded(startLimit, countEdgesAt(start, "eStart", t))) {
      showInformation(captionOf(t) + " multiplicity constraint " + startLimit + " violated");
      return false;
    }
    if (!endLimit.empty() && constraintExceeded(endLimit, countEdgesAt(end, "eEnd", t))) {
      showInformation(captionOf(t) + " multiplicity constraint " + endLimit + " violated");
      return false;
    }
  }
  return true;
}

// Does any of the types (with their supertypes) list one of the targets
// (with their supertypes) over ROLE?
bool listsTypeOver(const L0_Var_2& type, const std::string& role, const L0_Var_2& target) {
  std::vector<L0_Var_2> targets = gr::typeAndSupertypes(target);
  for (const L0_Var_2& t : gr::typeAndSupertypes(type)) {
    L0_Var_2 listed("ElemType");
    for (bool found = listed.setFirstByRelation(t, role); found; found = listed.next())
      for (const L0_Var_2& candidate : targets)
        if (listed == candidate) return true;
  }
  return false;
}

bool portAttachmentAllows(const L0_Var_2& portType, const L0_Var_2& node) {
  L0_Var_2 nodeType = typeOfElement(node);
  if (listsTypeOver(portType, "nodeType", nodeType)) return true;
  showInformation(captionOf(portType) + " can't be attached to " + captionOf(nodeType));
  return false;
}

void queueCreated(L0_Var_2& element, const L0_Var_2& type) {
  L0_Func_okCmd(element);
  L0_Func_activeElementCmd(element);
  if (gr::flag(type, "openPropertiesOnElementCreate"))
    L0_Func_execTransfCmd_withoutDiagram("show_active_element_properties");
}

// What every created element gets: its type, diagram, default style,
// essential compartments, and the type's creation procedures.
L0_Var_2 newElement(const std::string& className, L0_Var_2& type, L0_Var_2& diagram) {
  L0_Var_2 element("Element");
  element.addObj(className);
  element.setAttr("is_definition", false);
  element.setAttr("is_update_in_progress", false);
  element.addLink(type, "elemType");
  if (!diagram.isNull()) element.addLink(diagram, "graphDiagram");
  return element;
}

void completeElement(L0_Var_2& element, L0_Var_2& type) {
  L0_Var_2 style = firstOver(type, "elemStyle", "ElemStyle");
  if (!style.isNull()) element.addLink(style, "elemStyle");
  L0_Var_2 compartType("CompartType");
  for (bool found = compartType.setFirstByRelation(type, "compartType"); found;
       found = compartType.next()) {
    if (gr::flag(compartType, "isEssential") && !gr::flag(compartType, "isMultiple"))
      L0_Func_create_compartment(element, compartType);
  }
  L0_Func_call_elemType_proc_with_supertypes(type, "procCreateElementDomain", element);
  L0_Func_call_elemType_proc_with_supertypes(type, "procNewElement", element);
}

}  // namespace

namespace gr {

bool elementMultiplicityAllows(const L0_Var_2& type, const L0_Var_2& diagram) {
  for (const L0_Var_2& t : gr::typeAndSupertypes(type)) {
    std::string limit = gr::optionalText(t, "multiplicityConstraint");
    if (elementLimitReached(limit, t, diagram)) {
      showInformation(captionOf(t) + " multiplicity constraint " + limit + " violated");
      return false;
    }
  }
  return true;
}

bool containmentAdmits(const L0_Var_2& type, const L0_Var_2& parent) {
  return parent.isNull() ? !gr::flag(type, "isContainerMandatory")
                         : listsTypeOver(type, "containerType", typeOfElement(parent));
}

bool containmentAllows(const L0_Var_2& type, const L0_Var_2& parent) {
  bool allowed = containmentAdmits(type, parent);
  if (!allowed)
    showInformation(captionOf(type) + " can't be inserted into " +
                    captionOf(typeOfElement(parent)));
  return allowed;
}

L0_Var_2 validEdgeType(const L0_Var_2& paletteLine, const L0_Var_2& start, const L0_Var_2& end,
                       L0_Var_2& pair) {
  L0_Var_2 startType = typeOfElement(start);
  L0_Var_2 endType = typeOfElement(end);
  L0_Var_2 type("ElemType");
  for (bool found = type.setFirstByRelation(paletteLine, "elemType"); found; found = type.next()) {
    L0_Var_2 candidate("Pair");
    for (bool p = candidate.setFirstByRelation(type, "pair"); p; p = candidate.next()) {
      if (L0_Func_is_subtype_of(startType, firstOver(candidate, "start", "ElemType")) &&
          L0_Func_is_subtype_of(endType, firstOver(candidate, "end", "ElemType"))) {
        pair = candidate;
        return type;
      }
    }
  }
  type.setNull();
  return type;
}

void showIncorrectLine(const L0_Var_2& start, const L0_Var_2& end, const L0_Var_2& paletteLine) {
  showInformation(captionOf(typeOfElement(start)) + " can't be connected to " +
                  captionOf(typeOfElement(end)) + " with " + captionOf(paletteLine));
}

void setFreeBoxGeometry(L0_Var_2& element, const std::string& width, const std::string& height,
                        const std::string& x, const std::string& y) {
  element.setAttr("freeBox_w", width);
  element.setAttr("freeBox_h", height);
  element.setAttr("freeBox_x", x);
  element.setAttr("freeBox_y", y);
}

namespace {
std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t cut = text.find(separator, start);
    parts.push_back(text.substr(start, cut == std::string::npos ? cut : cut - start));
    if (cut == std::string::npos) return parts;
    start = cut + 1;
  }
}
std::string part(const std::vector<std::string>& parts, std::size_t index) {
  return index < parts.size() ? strRoutine::trim(parts[index]) : "";
}
}  // namespace

// "skipped\x1,y1\...\xn,yn": the first and the last point.
void setFreeLineGeometryFromInfo(L0_Var_2& element, const std::string& info) {
  std::vector<std::string> fields = split(info, '\\');
  if (fields.size() < 2) return;
  std::vector<std::string> first = split(fields[1], ',');
  std::vector<std::string> last = split(fields.back(), ',');
  element.setAttr("freeLine_x1", part(first, 0));
  element.setAttr("freeLine_y1", part(first, 1));
  element.setAttr("freeLine_xn", part(last, 0));
  element.setAttr("freeLine_yn", part(last, 1));
}

bool drawingRefused(const L0_Var_2& diagram) {
  return gr::flag(diagram, "isReadOnly");
}

}  // namespace gr

// ---- adding with checks

L0_Var_2 L0_Func_add_node(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 parent) {
  L0_Var_2 node("Node");
  if (!gr::elementMultiplicityAllows(type, diagram) || !gr::containmentAllows(type, parent))
    return node;
  node = L0_Func_create_node(type, diagram, parent);
  queueCreated(node, type);
  return node;
}
GR_ENTRY_SIGNATURE(L0_Func_add_node)

L0_Var_2 L0_Func_add_edge(L0_Var_2 diagram, L0_Var_2 type, L0_Var_2 start, L0_Var_2 end) {
  L0_Var_2 edge("Edge");
  if (!gr::elementMultiplicityAllows(type, diagram) || !edgeMultiplicityAllows(type, start, end))
    return edge;
  if (firstOver(type, "elemStyle", "ElemStyle").isNull()) return edge;
  edge = L0_Func_create_edge(diagram, type, start, end);
  queueCreated(edge, type);
  return edge;
}
GR_ENTRY_SIGNATURE(L0_Func_add_edge)

L0_Var_2 L0_Func_add_port(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 node) {
  L0_Var_2 port("Port");
  if (!gr::elementMultiplicityAllows(type, diagram) || !portAttachmentAllows(type, node))
    return port;
  port = L0_Func_create_port(type, diagram, node);
  queueCreated(port, type);
  return port;
}
GR_ENTRY_SIGNATURE(L0_Func_add_port)

L0_Var_2 L0_Func_add_free_node(L0_Var_2 type, L0_Var_2 diagram) {
  L0_Var_2 box("FreeBox");
  if (!gr::elementMultiplicityAllows(type, diagram)) return box;
  box = L0_Func_create_free_node(type, diagram);
  queueCreated(box, type);
  return box;
}
GR_ENTRY_SIGNATURE(L0_Func_add_free_node)

L0_Var_2 L0_Func_add_free_line(L0_Var_2 type, L0_Var_2 diagram) {
  L0_Var_2 line("FreeLine");
  if (!gr::elementMultiplicityAllows(type, diagram)) return line;
  line = L0_Func_create_free_edge(type, diagram);
  queueCreated(line, type);
  return line;
}
GR_ENTRY_SIGNATURE(L0_Func_add_free_line)

// ---- creating without checks

L0_Var_2 L0_Func_create_node(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 parent) {
  L0_Var_2 node = newElement("Node", type, diagram);
  if (!parent.isNull()) node.addLink(parent, "container");
  completeElement(node, type);
  return node;
}
GR_ENTRY_SIGNATURE(L0_Func_create_node)

L0_Var_2 L0_Func_create_edge(L0_Var_2 diagram, L0_Var_2 type, L0_Var_2 start, L0_Var_2 end) {
  L0_Var_2 edge = newElement("Edge", type, diagram);
  edge.addLink(start, "start");
  edge.addLink(end, "end");
  completeElement(edge, type);
  return edge;
}
GR_ENTRY_SIGNATURE(L0_Func_create_edge)

L0_Var_2 L0_Func_create_port(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 node) {
  L0_Var_2 port = newElement("Port", type, diagram);
  node.addLink(port, "port");
  completeElement(port, type);
  return port;
}
GR_ENTRY_SIGNATURE(L0_Func_create_port)

L0_Var_2 L0_Func_create_free_node(L0_Var_2 type, L0_Var_2 diagram) {
  L0_Var_2 box = newElement("FreeBox", type, diagram);
  completeElement(box, type);
  return box;
}
GR_ENTRY_SIGNATURE(L0_Func_create_free_node)

L0_Var_2 L0_Func_create_free_edge(L0_Var_2 type, L0_Var_2 diagram) {
  L0_Var_2 line = newElement("FreeLine", type, diagram);
  completeElement(line, type);
  return line;
}
GR_ENTRY_SIGNATURE(L0_Func_create_free_edge)

// ---- moving a line end

namespace {

struct LineEnds {
  L0_Var_2 type{"ElemType"};
  L0_Var_2 start{"Element"};
  L0_Var_2 end{"Element"};
};

LineEnds endsOf(const L0_Var_2& edge) {
  // Stable: the links they were reached over are deleted while they are used.
  return {gr::stable(typeOfElement(edge)), gr::stable(firstOver(edge, "start", "Element")),
          gr::stable(firstOver(edge, "end", "Element"))};
}

void unlinkEnds(L0_Var_2& edge, LineEnds& ends) {
  edge.deleteLink(ends.type, "elemType");
  edge.deleteLink(ends.start, "start");
  edge.deleteLink(ends.end, "end");
}

void relink(L0_Var_2& edge, L0_Var_2& type, L0_Var_2& start, L0_Var_2& end) {
  edge.addLink(type, "elemType");
  edge.addLink(start, "start");
  edge.addLink(end, "end");
}

// Moves one end of the event's edge to the event's target; MOVESTART picks
// which end.
void moveLineEnd(const std::string& eventClass, bool moveStart) {
  L0_Var_2 event = gr::firstOf(eventClass);
  L0_Var_2 edge = firstOver(event, "edge", "Edge");
  L0_Var_2 target = firstOver(event, "target", "Element");
  if (edge.isNull() || target.isNull()) {
    event.deleteObj();
    return;
  }
  LineEnds old = endsOf(edge);
  L0_Var_2 start = moveStart ? target : old.start;
  L0_Var_2 end = moveStart ? old.end : target;
  L0_Var_2 diagram = firstOver(edge, "graphDiagram", "GraphDiagram");
  L0_Var_2 validType("ElemType"), pair("Pair");
  L0_Var_2 paletteLine("PaletteElement");
  for (bool found = paletteLine.setFirstByRelation(old.type, "paletteElement"); found;
       found = paletteLine.next()) {
    validType = gr::validEdgeType(paletteLine, start, end, pair);
    if (!validType.isNull()) break;
    gr::showIncorrectLine(start, end, paletteLine);
  }
  if (!validType.isNull()) {
    // The edge must not count against itself while the checks run.
    unlinkEnds(edge, old);
    bool allowed = gr::elementMultiplicityAllows(validType, diagram) &&
                   edgeMultiplicityAllows(validType, start, end);
    if (!allowed) {
      relink(edge, old.type, old.start, old.end);
    } else if (validType == old.type) {
      relink(edge, validType, start, end);
      L0_Func_okCmd(edge);
      L0_Var_2 moved = moveStart ? old.start : old.end;
      L0_Func_call_elemType_3_pointer_proc_with_supertypes(validType, "procMoveLine", edge, moved,
                                                           target);
    } else {
      relink(edge, old.type, old.start, old.end);
      L0_Func_delete_element(edge);
      L0_Func_add_edge(diagram, validType, start, end);
    }
  }
  event.deleteObj();
}

}  // namespace

void L0_Func_MoveLineStartPoint() {
  moveLineEnd("MoveLineStartPointEvent", true);
}
GR_ENTRY_SIGNATURE(L0_Func_MoveLineStartPoint)

void L0_Func_MoveLineEndPoint() {
  moveLineEnd("MoveLineEndPointEvent", false);
}
GR_ENTRY_SIGNATURE(L0_Func_MoveLineEndPoint)

// ---- re-parenting, free-shape edits, transformations

void L0_Func_ChangeParent() {
  L0_Var_2 event = gr::firstOf("ChangeParentEvent");
  L0_Var_2 node = firstOver(event, "node", "Element");
  L0_Var_2 target = firstOver(event, "target", "Node");
  if (!node.isNull() && node.isTypeOf("Node") &&
      gr::containmentAllows(typeOfElement(node), target)) {
    L0_Var_2 oldParent = gr::stable(firstOver(node, "container", "Element"));
    if (!oldParent.isNull()) node.deleteLink(oldParent, "container");
    if (!target.isNull()) node.addLink(target, "container");
    L0_Func_call_elemType_3_pointer_proc_with_supertypes(
        typeOfElement(node), "procContainerChanged", node, oldParent, target);
    L0_Func_okCmd(node);
  }
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_ChangeParent)

// "width,height\x,y"
void L0_Func_FreeBoxEdited() {
  L0_Var_2 event = gr::firstOf("FreeBoxEditedEvent");
  L0_Var_2 element = firstOver(event, "element", "Element");
  if (!element.isNull()) {
    std::vector<std::string> fields = gr::split(event.getAttr("info"), '\\');
    std::vector<std::string> size = gr::split(fields[0], ',');
    std::vector<std::string> place = gr::split(fields.size() > 1 ? fields[1] : "", ',');
    L0_Func_okCmd(element);
    gr::setFreeBoxGeometry(element, gr::part(size, 0), gr::part(size, 1), gr::part(place, 0),
                           gr::part(place, 1));
  }
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_FreeBoxEdited)

void L0_Func_FreeLineEdited() {
  L0_Var_2 event = gr::firstOf("FreeLineEditedEvent");
  L0_Var_2 element = firstOver(event, "element", "Element");
  if (!element.isNull()) {
    L0_Func_okCmd(element);
    gr::setFreeLineGeometryFromInfo(element, event.getAttr("info"));
  }
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_FreeLineEdited)

void L0_Func_ExecTransf() {
  L0_Var_2 event = gr::firstOf("ExecTransfEvent");
  if (event.isNull()) {
    gr::showMessageBox("ExecTransf Error, NoEventError.");
  } else if (event.getAttr("info").empty()) {
    gr::showMessageBox("ExecTransf Error, UnknownTransformationError.");
  } else {
    std::string library, entry;
    L0_Func_decode_function_and_dll_name(event.getAttr("info"), library, entry);
    executeVoidFunction(library, entry);
  }
  L0_Var_2 first = gr::firstOf("ExecTransfEvent");
  first.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_ExecTransf)

// Queued for a new element whose type opens its properties on creation; by
// the time it runs the engine has made the new element active.
void L0_Func_show_active_element_properties() {
  L0_Var_2 element = L0_Func_get_active_element();
  if (!element.isNull()) L0_Func_call_element_proc_thru_type(element, "procProperties");
}
GR_ENTRY_SIGNATURE(L0_Func_show_active_element_properties)

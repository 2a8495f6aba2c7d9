#include "tool/Styledialog.h"

#include <vector>

#include "configurator/Type_diagram.h"
#include "tool/Commands.h"
#include "tool/Deletecollection.h"
#include "tool/Utilities.h"

using gr::firstOf;
using gr::firstOver;
using gr::stable;

namespace {

const char* const kConfiguratorScript = "lua_engine#lua.configurator.OKStyleDialogEvent";

std::vector<L0_Var_2> partners(const L0_Var_2& from, const std::string& role,
                               const std::string& className) {
  std::vector<L0_Var_2> found;
  if (from.isNull()) return found;
  L0_Var_2 partner(className);
  for (bool more = partner.setFirstByRelation(from, role); more; more = partner.next())
    found.push_back(stable(partner));
  return found;
}

void traceLinkFailure() {
  Logger& log = Logger::instance();
  log.endLine();
  log.indent();
  log.write("!!! Link was not created");
  log.endLine();
}

void linkOrTrace(L0_Var_2& from, const std::string& role, const L0_Var_2& to) {
  if (from.isNull() || to.isNull() || !from.addLink(to, role)) traceLinkFailure();
}

L0_Var_2 diagramOf(const L0_Var_2& element) {
  return stable(firstOver(element, "graphDiagram", "GraphDiagram"));
}

L0_Var_2 styleOf(const L0_Var_2& element) {
  return stable(firstOver(element, "elemStyle", "ElemStyle"));
}

void replaceLink(L0_Var_2& from, const std::string& role, const L0_Var_2& to,
                 const std::string& className) {
  for (L0_Var_2& old : partners(from, role, className)) from.deleteLink(old, role);
  linkOrTrace(from, role, to);
}

// The value of the selected item of the dialog's list with this id; "" when
// nothing is chosen.
std::string chosenInList(const std::string& id) {
  L0_Var_2 list = gr::firstWith("D#ListBox", "id", id);
  L0_Var_2 item = firstOver(list, "selected", "D#Item");
  return item.isNull() ? "" : item.getAttr("value");
}

std::string compartmentValue(const L0_Var_2& element, std::size_t index) {
  std::vector<L0_Var_2> compartments = partners(element, "compartment", "Compartment");
  return index < compartments.size() ? compartments[index].getAttr("value") : "";
}

// The type's compartment type that carries its stereotypes.
L0_Var_2 stereotypeCompartType(const L0_Var_2& type) {
  for (const L0_Var_2& compartType : partners(type, "compartType", "CompartType"))
    if (gr::flag(compartType, "isStereotype")) return compartType;
  return L0_Var_2("CompartType");
}

L0_Var_2 choiceItemWithValue(const L0_Var_2& compartType, const std::string& value) {
  for (const L0_Var_2& item : partners(compartType, "choiceItem", "ChoiceItem"))
    if (item.getAttr("value") == value) return item;
  return L0_Var_2("ChoiceItem");
}

template <class Each>
void forEachOf(const std::string& className, Each each) {
  std::vector<L0_Var_2> all;
  L0_Var_2 object(className);
  for (bool more = object.setFirstToRoot(className); more; more = object.next())
    all.push_back(stable(object));
  for (L0_Var_2& one : all) each(one);
}

std::string styleClassFor(const L0_Var_2& element) {
  if (element.isTypeOf("Node")) return "NodeStyle";
  if (element.isTypeOf("Edge")) return "EdgeStyle";
  return "PortStyle";
}

}  // namespace

void L0_Func_OKStyleDialogEvent() {
  L0_Var_2 event = stable(firstOf("OKStyleDialogEvent"));
  if (event.isNull()) return;
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 view = stable(firstOver(diagram, "activeView", "ActiveView"));
  int job = view.isNull() ? 0 : view.getAttrInt("viewsWindowActive");
  if (job < 1 || job > 4) {
    L0_Func_execTransfCmd_withoutDiagram(kConfiguratorScript);
    return;
  }
  L0_Var_2 element = stable(L0_Func_get_active_element());
  switch (job) {
    case 1:
      L0_Func_makeViewItems(element);
      break;
    case 2:
      L0_Func_makeElemStyle(element);
      break;
    case 3:
      L0_Func_setElementStereotypeStyle(element);
      view.setAttr("viewsWindowActive", "0");
      break;
    default:
      L0_Func_setCompartmentStereotypeStyle(element);
      view.setAttr("viewsWindowActive", "0");
      break;
  }
  L0_Var_2 first = stable(firstOf("OKStyleDialogEvent"));
  if (!first.isNull()) first.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_OKStyleDialogEvent)

// The element's look becomes the style of the stereotype chosen in the
// "styles" list: elements drawn in the stereotype's former style follow.
void L0_Func_makeElemStyle(L0_Var_2 element) {
  L0_Func_saveStylesCmd(diagramOf(element));
  std::string chosen = chosenInList("styles");
  if (chosen.empty()) return;
  L0_Var_2 style = styleOf(element);
  L0_Var_2 type = stable(firstOver(element, "elemType", "ElemType"));
  for (const L0_Var_2& compartType : partners(type, "compartType", "CompartType")) {
    if (!gr::flag(compartType, "isStereotype")) continue;
    L0_Var_2 item = choiceItemWithValue(compartType, chosen);
    if (item.isNull()) continue;
    if (!type.checkLink(style, "elemStyle")) linkOrTrace(type, "elemStyle", style);
    L0_Var_2 former = stable(firstOver(item, "elemStyleByChoiceItem", "ElemStyle"));
    for (L0_Var_2& user : partners(former, "element", "Element")) {
      replaceLink(user, "elemStyle", style, "ElemStyle");
      if (!diagramOf(user).isNull()) L0_Func_okCmd(user);
    }
    replaceLink(item, "elemStyleByChoiceItem", style, "ElemStyle");
    return;
  }
}
GR_ENTRY_SIGNATURE(L0_Func_makeElemStyle)

void L0_Func_setElementStereotypeStyle(L0_Var_2 element) {
  L0_Var_2 diagram = diagramOf(element);
  L0_Func_saveStylesCmd(diagram);
  L0_Func_execTransfCmd(diagram, "addElemStyleByChoiceItem");
}
GR_ENTRY_SIGNATURE(L0_Func_setElementStereotypeStyle)

void L0_Func_setCompartmentStereotypeStyle(L0_Var_2 element) {
  L0_Var_2 diagram = diagramOf(element);
  L0_Func_saveStylesCmd(diagram);
  L0_Func_execTransfCmd(diagram, "addCompartStyleByChoiceItem");
  L0_Func_okCmd_graphDiagram(diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_setCompartmentStereotypeStyle)

// The example element's first compartment names the stereotype base, its
// second the stereotype: every type of that base takes the example's look
// for the stereotype.
void L0_Func_addElemStyleByChoiceItem() {
  L0_Var_2 element = stable(L0_Func_get_active_element());
  std::string base = compartmentValue(element, 0);
  std::string stereotype = compartmentValue(element, 1);
  L0_Var_2 style = styleOf(element);
  if (base.empty() || style.isNull()) return;
  forEachOf("ElemType", [&](L0_Var_2& type) {
    if (type.getAttr("nameForStereotypeBase") != base) return;
    L0_Var_2 item = choiceItemWithValue(stereotypeCompartType(type), stereotype);
    if (item.isNull()) return;
    L0_Var_2 former = stable(firstOver(item, "elemStyleByChoiceItem", "ElemStyle"));
    if (!former.isNull() && former != style) former.deleteObj();
    replaceLink(item, "elemStyleByChoiceItem", style, "ElemStyle");
    if (!type.checkLink(style, "elemStyle")) linkOrTrace(type, "elemStyle", style);
  });
}
GR_ENTRY_SIGNATURE(L0_Func_addElemStyleByChoiceItem)

void L0_Func_addCompartStyleByChoiceItem() {
  L0_Var_2 element = stable(L0_Func_get_active_element());
  std::string base = compartmentValue(element, 0);
  std::string stereotype = compartmentValue(element, 1);
  L0_Var_2 example("CompartStyle");
  for (const L0_Var_2& compartment : partners(element, "compartment", "Compartment"))
    if (firstOver(compartment, "compartType", "CompartType").getAttr("id") == "Example text")
      example = stable(firstOver(compartment, "compartStyle", "CompartStyle"));
  if (base.empty() || example.isNull()) return;
  forEachOf("CompartType", [&](L0_Var_2& type) {
    if (type.getAttr("nameForStereotypeBase") != base) return;
    L0_Var_2 owner = firstOver(type, "elemType", "ElemType");
    L0_Var_2 item = choiceItemWithValue(stereotypeCompartType(owner), stereotype);
    if (item.isNull()) return;
    L0_Var_2 copy = L0_Func_copyStyle(example);
    for (L0_Var_2& former : partners(item, "compartStyleByChoiceItem", "CompartStyle"))
      former.deleteObj();
    linkOrTrace(item, "compartStyleByChoiceItem", copy);
    linkOrTrace(type, "compartStyle", copy);
  });
}
GR_ENTRY_SIGNATURE(L0_Func_addCompartStyleByChoiceItem)

// The element keeps the look just drawn in a style of its own, and the view
// chosen in "allViews" gets a copy of the look of each of its fields.
void L0_Func_makeViewItems(L0_Var_2 element) {
  L0_Func_saveStylesCmd(diagramOf(element));
  std::string chosen = chosenInList("allViews");
  L0_Var_2 view = stable(gr::firstWith("View", "caption", chosen));
  L0_Var_2 old = styleOf(element);
  if (chosen.empty() || view.isNull() || old.isNull()) return;
  L0_Var_2 style("ElemStyle");
  style.addObj(styleClassFor(element));
  L0_Func_copy_class_with_attributes(old, style);
  replaceLink(element, "elemStyle", style, "ElemStyle");
  L0_Var_2 type = stable(firstOver(element, "elemType", "ElemType"));
  for (L0_Var_2& compartType : partners(type, "compartType", "CompartType")) {
    L0_Var_2 compartView("CompartView");
    for (const L0_Var_2& each : partners(view, "compartView", "CompartView"))
      if (firstOver(each, "compartType", "CompartType") == compartType) compartView = each;
    if (compartView.isNull()) {
      compartView.addObj("CompartView");
      linkOrTrace(view, "compartView", compartView);
      linkOrTrace(compartView, "compartType", compartType);
    } else {
      for (L0_Var_2& former : partners(compartView, "compartStyle", "CompartStyle"))
        compartView.deleteLink(former, "compartStyle");
    }
    std::vector<L0_Var_2> shown;
    for (const L0_Var_2& compartment : partners(element, "compartment", "Compartment"))
      if (firstOver(compartment, "compartType", "CompartType") == compartType)
        shown.push_back(compartment);
    L0_Var_2 present = shown.empty()
                           ? L0_Var_2("CompartStyle")
                           : stable(firstOver(shown.front(), "compartStyle", "CompartStyle"));
    if (present.isNull()) continue;
    L0_Var_2 copy = L0_Func_copyStyle(present);
    linkOrTrace(compartView, "compartStyle", copy);
    for (L0_Var_2& compartment : shown)
      replaceLink(compartment, "compartStyle", copy, "CompartStyle");
  }
}
GR_ENTRY_SIGNATURE(L0_Func_makeViewItems)

L0_Var_2 L0_Func_copyStyle(L0_Var_2 style) {
  L0_Var_2 copy("Thing");
  if (style.isNull()) return copy;
  copy.addObj(getClassName(style));
  L0_Func_copy_class_with_attributes(style, copy);
  return copy;
}
GR_ENTRY_SIGNATURE(L0_Func_copyStyle)

void L0_Func_deleteActiveElement() {
  L0_Var_2 element = stable(L0_Func_get_active_element());
  if (element.isNull()) return;
  L0_Var_2 diagram = diagramOf(element);
  std::vector<L0_Var_2> along;
  if (element.isTypeOf("Edge")) {
    along.push_back(stable(firstOver(element, "start", "Element")));
    along.push_back(stable(firstOver(element, "end", "Element")));
  } else if (element.isTypeOf("Port")) {
    along.push_back(stable(firstOver(element, "node", "Node")));
  }
  // Whatever the element and its ends hold goes with them.
  L0_Func_default_delete_element_helper_helper(element, true);
  for (L0_Var_2& other : along)
    if (!other.isNull()) L0_Func_default_delete_element_helper_helper(other, true);
  L0_Func_okCmd_graphDiagram(diagram);
}
GR_ENTRY_SIGNATURE(L0_Func_deleteActiveElement)

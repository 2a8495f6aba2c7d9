// A right click: the menu of the element, of the selection or of the empty
// canvas is shown.
#include "tool/Commands.h"
#include "tool/Copycollection.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_RClick();

using gr::firstOver;

namespace {

// The element's menu: made at run time by the type's procedure, or its first pop-up.
bool elementMenu(const L0_Var_2& element, L0_Var_2& menu) {
  L0_Var_2 type = firstOver(element, "elemType", "ElemType");
  if (type.isNull()) {
    gr::showMessageBox("RClick Error, NoSuchElemTypeError.");
    return false;
  }
  std::string dynamic = type.getAttrOfActualClass("procDynamicPopUp");
  if (dynamic.empty()) {
    menu = firstOver(type, "popUpDiagram", "PopUpDiagram");
    return true;
  }
  std::string library, entry;
  L0_Func_decode_function_and_dll_name(dynamic, library, entry);
  menu = executeObjectReturningFunction(library, entry, element);
  return true;
}

struct Failure {
  const char* message;
};

L0_Var_2 required(L0_Var_2 object, const char* message) {
  if (object.isNull()) throw Failure{message};
  return object;
}

// The canvas menu: for a selection of elements, or for empty space.
L0_Var_2 canvasMenu() {
  L0_Var_2 pointer =
      required(gr::firstOf("CurrentDgrPointer"), "RClick Error, NoCurrentDgrPointerError.");
  L0_Var_2 diagram = required(firstOver(pointer, "graphDiagram", "GraphDiagram"),
                              "RClick Error, NoActiveGraphDiagramError.");
  L0_Var_2 type = required(firstOver(diagram, "graphDiagramType", "GraphDiagramType"),
                           "RClick Error, NoSuchGraphDiagramTypeError.");
  L0_Var_2 collection =
      required(firstOver(diagram, "collection", "Collection"), "RClick Error, NoCollectionError.");
  bool selected = !firstOver(collection, "element", "Element").isNull();
  return firstOver(type, selected ? "RClickCollection" : "RClickEmpty", "PopUpDiagram");
}

// The menu key ("Application") runs RClick through its key shortcut, with
// no right-click event: the menu is then that of the current selection, as a
// right click on it would show (the element's own for one selected element).
L0_Var_2 elementOfMenuKey() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  if (diagram.isNull()) throw Failure{"RClick Error, NoEventError."};
  std::vector<L0_Var_2> selected =
      gr::partnersOver(firstOver(diagram, "collection", "Collection"), "element", "Element");
  return selected.size() == 1 ? selected[0] : L0_Var_2("Element");
}

}  // namespace

void L0_Func_RClick() {
  L0_Var_2 event = gr::firstOf("RClickEvent");
  L0_Var_2 menu("PopUpDiagram");
  bool show = true;
  try {
    L0_Var_2 element = event.isNull() ? elementOfMenuKey() : firstOver(event, "element", "Element");
    if (element.isNull())
      menu = canvasMenu();
    else
      show = elementMenu(element, menu);
  } catch (const Failure& failure) {
    gr::showMessageBox(failure.message);
    show = false;
  }
  if (show && !menu.isNull()) L0_Func_popUpCmd(menu);
  L0_Var_2 first = gr::firstOf("RClickEvent");
  first.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_RClick)

// A pin drawn with a palette entry on a node.
#include "tool/Element.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_NewPin();

void L0_Func_NewPin() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 event = gr::firstOf("NewPinEvent");
  if (!gr::drawingRefused(diagram)) {
    L0_Var_2 type =
        gr::firstOver(gr::firstOver(event, "palettePin", "PalettePin"), "elemType", "ElemType");
    L0_Var_2 node = gr::firstOver(event, "node", "Node");
    if (!type.isNull() && !node.isNull()) L0_Func_add_port(type, diagram, node);
  }
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_NewPin)

// A box drawn with a palette entry, at top level or inside a node.
#include "tool/Element.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_NewBox();

void L0_Func_NewBox() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 event = gr::firstOf("NewBoxEvent");
  if (!gr::drawingRefused(diagram)) {
    L0_Var_2 type =
        gr::firstOver(gr::firstOver(event, "paletteBox", "PaletteBox"), "elemType", "ElemType");
    L0_Var_2 parent = gr::firstOver(event, "node", "Node");
    if (!type.isNull()) L0_Func_add_node(type, diagram, parent);
  }
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_NewBox)

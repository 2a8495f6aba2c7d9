// A line drawn with a palette entry between two elements: the first edge type
// of the entry whose pairs admit the two ends.
#include "tool/Element.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_NewLine();

void L0_Func_NewLine() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 event = gr::firstOf("NewLineEvent");
  L0_Var_2 paletteLine = gr::firstOver(event, "paletteLine", "PaletteLine");
  L0_Var_2 start = gr::firstOver(event, "start", "Element");
  L0_Var_2 end = gr::firstOver(event, "end", "Element");
  if (gr::drawingRefused(diagram) || paletteLine.isNull() || start.isNull() || end.isNull()) {
    L0_Func_delete_event();
    return;
  }
  L0_Var_2 pair("Pair");
  L0_Var_2 type = gr::validEdgeType(paletteLine, start, end, pair);
  if (type.isNull()) {
    gr::showIncorrectLine(start, end, paletteLine);
    L0_Func_delete_event();
    return;
  }
  // A reversed pair was matched in the drag's direction and stores the other.
  if (gr::flag(pair, "reverse"))
    L0_Func_add_edge(diagram, type, end, start);
  else
    L0_Func_add_edge(diagram, type, start, end);
  L0_Func_delete_event();
}
GR_ENTRY_SIGNATURE(L0_Func_NewLine)

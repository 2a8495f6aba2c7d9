// A free line drawn with its points "skipped\x1,y1\...\xn,yn".
#include "tool/Commands.h"
#include "tool/Element.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_NewFreeLine();

void L0_Func_NewFreeLine() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 event = gr::firstOf("NewFreeLineEvent");
  L0_Var_2 line("FreeLine");
  std::string info = event.isNull() ? "" : event.getAttr("info");
  if (!gr::drawingRefused(diagram)) {
    L0_Var_2 type = gr::firstOver(gr::firstOver(event, "paletteFreeLine", "PaletteFreeLine"),
                                  "elemType", "ElemType");
    if (!type.isNull()) line = L0_Func_add_free_line(type, diagram);
  }
  L0_Func_delete_event();
  if (line.isNull()) return;
  L0_Func_okCmd(line);
  gr::setFreeLineGeometryFromInfo(line, info);
}
GR_ENTRY_SIGNATURE(L0_Func_NewFreeLine)

// A free box drawn with its geometry "width;height;x;y".
#include <vector>

#include "tool/Commands.h"
#include "tool/Element.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_NewFreeBox();

void L0_Func_NewFreeBox() {
  L0_Var_2 diagram = L0_Func_get_current_diagram();
  L0_Var_2 event = gr::firstOf("NewFreeBoxEvent");
  L0_Var_2 box("FreeBox");
  std::string info = event.isNull() ? "" : event.getAttr("info");
  if (!gr::drawingRefused(diagram)) {
    L0_Var_2 type = gr::firstOver(gr::firstOver(event, "paletteFreeBox", "PaletteFreeBox"),
                                  "elemType", "ElemType");
    if (!type.isNull()) box = L0_Func_add_free_node(type, diagram);
  }
  L0_Func_delete_event();
  if (box.isNull()) return;
  L0_Func_okCmd(box);
  std::vector<std::string> geometry(4);
  std::size_t start = 0;
  for (std::string& value : geometry) {
    std::size_t cut = info.find(';', start);
    value = strRoutine::trim(info.substr(start, cut == std::string::npos ? cut : cut - start));
    start = cut == std::string::npos ? info.size() : cut + 1;
  }
  gr::setFreeBoxGeometry(box, geometry[0], geometry[1], geometry[2], geometry[3]);
}
GR_ENTRY_SIGNATURE(L0_Func_NewFreeBox)

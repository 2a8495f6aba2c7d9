// A menu item chosen: its procedure runs with the active element.
#include "tool/Commands.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_PopUpElemSelect();

namespace {

const char* const kScriptEngine = "lua_engine.dll";

// A menu with the items it owns.
void deleteMenu(const L0_Var_2& reached) {
  L0_Var_2 menu = gr::stable(reached);
  std::vector<L0_Var_2> items;
  L0_Var_2 item("PopUpElement");
  for (bool found = item.setFirstByRelation(menu, "popUpElement"); found; found = item.next())
    items.push_back(gr::stable(item));
  for (L0_Var_2& each : items) each.deleteObj();
  menu.deleteObj();
}

}  // namespace

void L0_Func_PopUpElemSelect() {
  L0_Var_2 event = gr::firstOf("PopUpElemSelectEvent");
  L0_Var_2 item = gr::firstOver(event, "popUpElement", "PopUpElement");
  if (!item.isNull()) {
    std::string procedure = item.getAttr("procedure_name");
    L0_Var_2 menu = gr::firstOver(item, "popUpDiagram", "PopUpDiagram");
    if (gr::flag(menu, "deleteAfterUse")) deleteMenu(menu);
    if (!procedure.empty()) {
      std::string library, entry;
      L0_Func_decode_function_and_dll_name(procedure, library, entry);
      if (library == kScriptEngine)
        L0_Func_ExecuteTransformation(procedure, 0);
      else
        executeObjectFunction(library, entry, L0_Func_get_active_element());
    }
  }
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_PopUpElemSelect)

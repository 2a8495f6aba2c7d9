// A tool-bar button pressed: its procedure runs without arguments.
#include "tool/Commands.h"
#include "tool/Utilities.h"

L0_TRANSFORMATION void L0_Func_ToolSelect();

void L0_Func_ToolSelect() {
  L0_Var_2 event = gr::firstOf("ToolSelectEvent");
  L0_Var_2 tool = gr::firstOver(event, "tool", "Tool");
  std::string procedure = tool.isNull() ? "" : tool.getAttr("procedure_name");
  if (!procedure.empty()) {
    std::string library, entry;
    L0_Func_decode_function_and_dll_name(procedure, library, entry);
    if (library == "lua_engine.dll")
      L0_Func_ExecuteTransformation(procedure, 0);
    else
      executeVoidFunction(library, entry);
  }
  event.deleteObj();
}
GR_ENTRY_SIGNATURE(L0_Func_ToolSelect)

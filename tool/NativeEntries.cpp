#include "tool/NativeEntries.h"

void L0_Func_PutLiteralValueToCell(L0_Var_2 source, L0_Var_2 cell) {
  PutLiteralValueToCell(source, cell);
}
GR_ENTRY_SIGNATURE(L0_Func_PutLiteralValueToCell)

void L0_Func_Sort(std::string& list) {
  Sort(list);
}
GR_ENTRY_SIGNATURE(L0_Func_Sort)

void L0_Func_executeVoidFunction(std::string library, std::string function) {
  executeVoidFunction(library, function);
}
GR_ENTRY_SIGNATURE(L0_Func_executeVoidFunction)

// The native functions that other libraries, the host and the model call by
// name: exported as entries of this library, each with its signature text.
#pragma once

#include "tool/Transformation.h"

// Copies the source's "label" into the cell's "value".
L0_TRANSFORMATION void L0_Func_PutLiteralValueToCell(L0_Var_2 source, L0_Var_2 cell);
// Sorts a comma-separated list in place.
L0_TRANSFORMATION void L0_Func_Sort(std::string& list);
// Runs FUNCTION of LIBRARY without arguments, as a model's reference names it.
L0_TRANSFORMATION void L0_Func_executeVoidFunction(std::string library, std::string function);

// Calls of procedures that the model names by library and function: a
// library file name such as "main.dll" and an entry such as "_L0_Func_Name".
// The library is looked for only in the tool folder, the runtime folder and
// the loader's path, never in a folder the model spells out.
#pragma once

#include <string>

class L0_Var_2;

namespace gr {

// "X.dll" (or "X") names the file "libX.so".
std::string libraryFileName(const std::string& library);
// "_L0_Func_Name" is exported as "L0_Func_Name".
std::string entrySymbol(const std::string& function);
// Opens the file of LIBRARY from the tool folder, the runtime folder or the
// loader's path (dlopen, RTLD_NOW); null with the reason in SYSTEMERROR. A
// library named with a folder is refused.
void* openProcedureLibrary(const std::string& library, std::string& systemError);

}  // namespace gr

void executeVoidFunction(const std::string& library, const std::string& function);
void executeObjectFunction(const std::string& library, const std::string& function,
                           L0_Var_2 object);
// True when the call was made.
bool executeThreeObjectFunction(const std::string& library, const std::string& function,
                                L0_Var_2 first, L0_Var_2 second, L0_Var_2 third);
bool executeBooleanFunction(const std::string& library, const std::string& function,
                            L0_Var_2 object);
std::string executeStringFunction(const std::string& library, const std::string& function,
                                  L0_Var_2 object);
// The object the function returns; a null variable when the call was not made.
L0_Var_2 executeObjectReturningFunction(const std::string& library, const std::string& function,
                                        L0_Var_2 object);

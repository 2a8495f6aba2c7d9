// Calls of procedures that the model names by library and function: a
// library file name such as "main.dll" and an entry such as "_L0_Func_Name".
// The library is looked for only in the tool folder and the runtime folder
// (runtime/LibrarySafety.h), never in a folder the model spells out.
//
// Every entry of a library built with signature texts (GR_ENTRY_SIGNATURE)
// is called only through the type its text names. A call that passes one
// object may also run a "v()" entry, and the string call an "s()" or "v()"
// entry, without the object: calls by name pass it whether or not the entry
// wants it. A library that exports no signature text at all (a user's own
// library) is trusted: its entries are called through the type of the call.
#pragma once

#include <string>

class L0_Var_2;

namespace gr {

// "X.dll" (or "X") names the file "libX.so".
std::string libraryFileName(const std::string& library);
// "_L0_Func_Name" is exported as "L0_Func_Name".
std::string entrySymbol(const std::string& function);
// Opens the file of LIBRARY from the library folders (dlopen, RTLD_NOW);
// null with the reason in SYSTEMERROR. A library named with a folder or a
// control character, and a file or folder others can write to, are refused
// (REFUSED set): they may exist, but are not to be loaded.
void* openProcedureLibrary(const std::string& library, std::string& systemError,
                           bool* refused = nullptr);

// An entry of an open library and the signature it is called by.
struct EntryLookup {
  void* entry = nullptr;
  // The entry's own signature text; for an entry of a library without
  // signature texts, "" (trusted).
  std::string signature;
  // The entry has no text of its own although its library signs others.
  bool missingSignature = false;
};
// Looks SYMBOL up in the library HANDLE itself (not in the libraries it
// depends on); its signature text must come from the same library.
EntryLookup lookUpEntry(void* handle, const std::string& symbol);

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

// The dynamic symbols a shared library file defines, read from its ELF
// symbol table without loading it.
#pragma once

#include <string>

namespace gr {

// True when the library file defines an exported symbol whose name ends with
// SUFFIX. A file that can not be read as ELF defines none.
bool exportsSymbolEndingWith(const std::string& file, const std::string& suffix);

}  // namespace gr

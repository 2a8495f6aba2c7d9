// The graph export: from a start object, a depth-first walk over the links
// that three navigation specs allow, each object reached registered with the
// ExportItem of its class, and every pointer to an object left outside
// recorded by a LinkedObject descriptor that a transformation makes. The
// exchange text of what was registered goes to "DiagramExportResult.txt".
//
// A spec is a list of entries separated by ";". An entry "Class.role" (or
// "Class" for every role of the class) names the link types that start at
// that class; an entry of the descriptor spec goes on with "-" and the
// transformation that makes the descriptor, "-lib.dll#_L0_Func_name" or
// "-_L0_Func_name" for this library.
#pragma once

#include <string>
#include <vector>

#include "platform/repository.h"

class L0_Var_2;

namespace gr::exchange {

struct NavigationEntry {
  std::string className;
  std::string role;            // empty: every role of the class
  std::string transformation;  // the descriptor spec's third field
  std::string library;         // its fourth field
};
// The entries of a spec in order.
std::vector<NavigationEntry> parseNavigationSpec(const std::string& spec);

}  // namespace gr::exchange

// SPEC1: descriptor functions (the link is not followed; its partner is
// recorded by the descriptor the function returns the id of); SPEC2: link
// types not followed; SPEC3: link types followed. A link type that no spec
// names is followed. Tables are tried in the order SPEC3, SPEC1, SPEC2.
void exportGraphFromObjectById(RepId objectID, const std::string& spec1, const std::string& spec2,
                               const std::string& spec3);
void exportGraphFromObject(const L0_Var_2& object, const std::string& spec1,
                           const std::string& spec2, const std::string& spec3);

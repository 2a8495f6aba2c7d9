// Path expressions: a small path language over the object graph.
//
//   path  := ["/"] step ("/" step)* ["/" "@" attribute | "/" group]
//   step  := [role] [":" class] group*
//   group := "[" ("@" attribute ["=" quoted-value] | path) "]"
//
// eval_path_exp answers the first object reached along the path whose
// classes and predicates all hold (depth first, with backtracking), or a null
// variable. An attribute ending or a bare predicate group yields a result
// object created in the store (LPath#AttributeValue, LPath#DataValue).
// The grammar is whatever the string utilities below make of a text, so
// they are transformations of their own with exactly that behaviour.
//
// Limits (every entry ends, whatever the text):
// - a step whose predicate group has no closing "]" matches nothing, and so
//   does a bare predicate group without one: the result is null (false for
//   the boolean entries), without a message, as for any path that does not
//   match;
// - at most kMaxNestedPaths path evaluations may be nested (one per step,
//   one per predicate nesting, one for the empty rest after the last step);
//   at that depth an evaluation needs well under 256 KB of stack, in
//   sanitizer builds too;
// - a text longer than kMaxTextLength is not evaluated: every nesting level
//   may hold a rest of the text, so this bounds an evaluation's memory as the
//   nesting limit bounds its stack;
// - one evaluation visits at most workLimit() candidates and groups, which
//   bounds the time of paths whose branching multiplies, and of root searches
//   over a result class that the evaluation itself keeps extending.
// Beyond a limit the whole evaluation is abandoned: the outermost call
// answers null (false), after one runtime error report.
//
// Result objects are created through the object variables, so a metamodel
// without the LPath# classes gets the runtime's "Class ... does not exist."
// report and a null result. Attributes are read as the object variables read
// them: a missing one is reported and reads as "", and reading from a null
// object (an attribute expression from a null start) ends the evaluation
// with the runtime's L0_Var_2_Exception.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/host.h"
#include "runtime/L0_Var.h"

// Exported under C names so that a model can name them like any
// transformation; only C++ callers, through their checked signatures.
#define LPATH_TRANSFORMATION extern "C" GR_API

namespace lpath {

inline constexpr int kMaxNestedPaths = 64;
inline constexpr std::size_t kMaxTextLength = 65536;
inline constexpr std::uint64_t kDefaultWorkLimit = 1000000;

void setWorkLimit(std::uint64_t limit);
std::uint64_t workLimit();

}  // namespace lpath

// ---- string utilities (0-based byte positions)

// The text of S before the first occurrence of SEP, which S loses along with
// the separator. The matcher restarts at 0 on a mismatch without comparing
// the mismatching character with SEP's first again. An empty SEP takes one
// character; no occurrence takes all of S.
LPATH_TRANSFORMATION std::string L0_Func_string_iterator(std::string& s, std::string sep);
// The prefix of S up to the CLOSE that brings the bracket depth back to 0,
// brackets included, which S loses; "" with S unchanged when none does.
LPATH_TRANSFORMATION std::string L0_Func_get_balanced_substring(std::string& s, std::string open,
                                                                std::string close);
// "" past either end.
LPATH_TRANSFORMATION std::string L0_Func_get_char_at_index(std::string s, int index);
LPATH_TRANSFORMATION bool L0_Func_is_prefix_of(std::string prefix, std::string s);
// "" when S has N characters or fewer.
LPATH_TRANSFORMATION std::string L0_Func_drop_first_n_from_string(int n, std::string s);
LPATH_TRANSFORMATION std::string L0_Func_drop_last_n_from_string(int n, std::string s);

// ---- path expressions

LPATH_TRANSFORMATION L0_Var_2 L0_Func_eval_path_exp(L0_Var_2 object, std::string path);
// A path, "@" and an attribute name, or a bare predicate group.
LPATH_TRANSFORMATION L0_Var_2 L0_Func_eval_expression(L0_Var_2 object, std::string expression);
// GROUP is one predicate group with its brackets.
LPATH_TRANSFORMATION bool L0_Func_eval_predicate_exp(L0_Var_2 object, std::string group);
// TEXT is "@" followed by the attribute name; the result is a new
// LPath#AttributeValue object.
LPATH_TRANSFORMATION L0_Var_2 L0_Func_eval_attribute_exp(L0_Var_2 object, std::string text);
// PREDICATES is a sequence of groups; true when it is empty.
LPATH_TRANSFORMATION bool L0_Func_predicates_satisfied(L0_Var_2 object, std::string predicates);
// The object's class is CLASSNAME or extends it; true for an empty name.
LPATH_TRANSFORMATION bool L0_Func_type_constraint_satisfied(L0_Var_2 object, std::string className);
// Cuts the first step off PATH; always true. PATH keeps what follows the
// step: after predicate groups it still begins with the "/".
LPATH_TRANSFORMATION bool L0_Func_get_LPath_step(std::string& path, std::string& roleName,
                                                 std::string& objectType, std::string& predicates);
LPATH_TRANSFORMATION void L0_Func_remove_slash_if_exists(std::string& text);
// The class a path reaches from CLASSNAME by its roles alone; "" when a role
// is missing or a predicate group is not closed.
LPATH_TRANSFORMATION std::string L0_Func_get_LPath_range(std::string className, std::string path);
LPATH_TRANSFORMATION bool L0_Func_exists_outgoing_role_from_instance(L0_Var_2 object,
                                                                     std::string roleName);
// The class at the other end of ROLENAME leading out of CLASSNAME, or "".
LPATH_TRANSFORMATION std::string L0_Func_get_assoc_range_type_from_class_by_roleName(
    std::string className, std::string roleName);

// ---- plain role paths ("a/b/c": no types, predicates or attributes)

LPATH_TRANSFORMATION L0_Var_2 L0_Func_get_object_by_path(L0_Var_2 object, std::string path);
LPATH_TRANSFORMATION L0_Var_2 L0_Func_get_object_from_object_with_type_by_path(
    L0_Var_2 object, std::string className, std::string path);
LPATH_TRANSFORMATION std::string L0_Func_get_path_range(std::string className, std::string path);
LPATH_TRANSFORMATION L0_Var_2
L0_Func_get_linked_object_from_object_by_role_with_type(L0_Var_2 object, std::string roleName);

// ---- display

// "null", or ":" + class name and one "\n\t" line per attribute.
LPATH_TRANSFORMATION std::string L0_Func_instance_to_string(L0_Var_2 object);
LPATH_TRANSFORMATION std::string L0_Func_attribute_to_string(L0_Var_2 object,
                                                             std::string attributeName,
                                                             std::string typeName);
LPATH_TRANSFORMATION void L0_Func_show_instance(L0_Var_2 object);
LPATH_TRANSFORMATION void L0_Func_display_instance(L0_Var_2 object);
// Shows the step parser's parts of five sample paths.
LPATH_TRANSFORMATION void L0_Func_test_get_LPath_step();

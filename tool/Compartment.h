// Compartments: the text fields of elements. They form a tree (an element's
// `compartment`s, their `subCompartment`s); each holds `value`, the value
// proper, and `input`, the value with its adornments as the editor shows it.
// Parent and child values are kept consistent both ways: compose upwards,
// decompose downwards.
#pragma once

#include "tool/Transformation.h"

// Directions of a value change.
namespace gr::direction {
inline const std::string both = "";
inline const std::string down = "down";
inline const std::string up = "up";
inline const std::string direct = "direct";
}  // namespace gr::direction

L0_TRANSFORMATION L0_Var_2 L0_Func_create_compartment(L0_Var_2 parent, L0_Var_2 type);
// The core of compartment creation: with FROMVALUE the given text is the
// value, else the type's start value.
L0_TRANSFORMATION L0_Var_2 L0_Func_create_compartment_helper(L0_Var_2 parent, L0_Var_2 type,
                                                             std::string text, bool fromValue);
L0_TRANSFORMATION void L0_Func_create_subcompartments(L0_Var_2 parent, L0_Var_2 owner,
                                                      std::string role, std::string className,
                                                      bool fromValue);
L0_TRANSFORMATION void L0_Func_set_compartment_value(L0_Var_2 compartment, std::string text);
L0_TRANSFORMATION void L0_Func_set_compartment_value_without_specific_transformations(
    L0_Var_2 compartment, std::string text);
L0_TRANSFORMATION void L0_Func_set_compartment_value_helper(L0_Var_2 compartment, std::string text,
                                                            std::string direction,
                                                            bool runProcedures);
L0_TRANSFORMATION void L0_Func_set_compartment_input(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_delete_compartment(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_delete_subcompartments(L0_Var_2 parent, std::string role);
L0_TRANSFORMATION void L0_Func_compose(L0_Var_2 compartment, std::string direction);
L0_TRANSFORMATION void L0_Func_decompose(L0_Var_2 compartment, std::string direction);
L0_TRANSFORMATION std::string L0_Func_default_compose(L0_Var_2 compartment);
L0_TRANSFORMATION std::string L0_Func_default_decompose(L0_Var_2 compartment);
L0_TRANSFORMATION std::string L0_Func_default_decompose_new(L0_Var_2 compartment);
L0_TRANSFORMATION std::string L0_Func_regexp_for_default_decompose(L0_Var_2 compartment);
L0_TRANSFORMATION std::string L0_Func_padded_string(std::string text);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_compartment_root_compartment(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_root(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_compartment_parent_element(L0_Var_2 compartment);
L0_TRANSFORMATION L0_Var_2 L0_Func_get_compartnment_from_parent_by_compartType(L0_Var_2 parent,
                                                                               L0_Var_2 type);
L0_TRANSFORMATION void L0_Func_add_tagged_values(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_delete_tagged_values(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_enable_block(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_disable_block(L0_Var_2 compartment);
L0_TRANSFORMATION void L0_Func_update_styles_from_compartment(L0_Var_2 compartment);

namespace gr {
// TEXT without the type's adornment prefix and suffix, where it carries them.
std::string stripAdornments(const L0_Var_2& type, const std::string& text);
// The compartments of an element, depth first (each before its sub-compartments).
std::vector<L0_Var_2> allCompartments(const L0_Var_2& element);
// Deletes the element's compartment trees; the domain procedures
// (procDeleteCompartmentDomain) run only when asked for.
void deleteCompartmentsOf(const L0_Var_2& element, bool runDomainProcedures);
}  // namespace gr

// C entries for callers without object variables.
extern "C" {
GR_API void set_compartment_value(uint32_t objectID, const char* value);
GR_API uint32_t create_compartment(uint32_t firstID, uint32_t secondID, bool flag,
                                   const char* value);
GR_API void delete_compartment(uint32_t objectID);
}

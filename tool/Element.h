// Typed elements: creation under the tool's constraints (multiplicity,
// containment, port attachment, allowed line ends), and the editing events
// that reconnect lines, re-parent nodes and run transformations.
#pragma once

#include "tool/Transformation.h"

// ---- adding with checks: null when a constraint refuses the element
L0_TRANSFORMATION L0_Var_2 L0_Func_add_node(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 parent);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_edge(L0_Var_2 diagram, L0_Var_2 type, L0_Var_2 start,
                                            L0_Var_2 end);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_port(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 node);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_free_node(L0_Var_2 type, L0_Var_2 diagram);
L0_TRANSFORMATION L0_Var_2 L0_Func_add_free_line(L0_Var_2 type, L0_Var_2 diagram);

// ---- creating without checks
L0_TRANSFORMATION L0_Var_2 L0_Func_create_node(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 parent);
L0_TRANSFORMATION L0_Var_2 L0_Func_create_edge(L0_Var_2 diagram, L0_Var_2 type, L0_Var_2 start,
                                               L0_Var_2 end);
L0_TRANSFORMATION L0_Var_2 L0_Func_create_port(L0_Var_2 type, L0_Var_2 diagram, L0_Var_2 node);
L0_TRANSFORMATION L0_Var_2 L0_Func_create_free_node(L0_Var_2 type, L0_Var_2 diagram);
L0_TRANSFORMATION L0_Var_2 L0_Func_create_free_edge(L0_Var_2 type, L0_Var_2 diagram);

// ---- editing events
L0_TRANSFORMATION void L0_Func_MoveLineStartPoint();
L0_TRANSFORMATION void L0_Func_MoveLineEndPoint();
L0_TRANSFORMATION void L0_Func_ChangeParent();
L0_TRANSFORMATION void L0_Func_FreeBoxEdited();
L0_TRANSFORMATION void L0_Func_FreeLineEdited();
L0_TRANSFORMATION void L0_Func_ExecTransf();
// Runs the `procProperties` procedure of the active element's type.
L0_TRANSFORMATION void L0_Func_show_active_element_properties();

namespace gr {
// The element multiplicity of the type and its supertypes in the diagram;
// shows the violation in the information bar.
bool elementMultiplicityAllows(const L0_Var_2& type, const L0_Var_2& diagram);
// May a node of TYPE be placed into PARENT (null: on the canvas)? A refusal
// is shown in the information bar; containmentAdmits is the silent test.
bool containmentAllows(const L0_Var_2& type, const L0_Var_2& parent);
bool containmentAdmits(const L0_Var_2& type, const L0_Var_2& parent);
// The first edge type of the palette line admitting a line from START to END,
// with the pair that admits it; null when none does.
L0_Var_2 validEdgeType(const L0_Var_2& paletteLine, const L0_Var_2& start, const L0_Var_2& end,
                       L0_Var_2& pair);
// "A can't be connected to B with Line" in the information bar.
void showIncorrectLine(const L0_Var_2& start, const L0_Var_2& end, const L0_Var_2& paletteLine);
// Geometry texts of free shapes.
void setFreeBoxGeometry(L0_Var_2& element, const std::string& width, const std::string& height,
                        const std::string& x, const std::string& y);
void setFreeLineGeometryFromInfo(L0_Var_2& element, const std::string& info);
// The first event of the class, the current diagram, and whether drawing in it is refused.
bool drawingRefused(const L0_Var_2& diagram);
}  // namespace gr
